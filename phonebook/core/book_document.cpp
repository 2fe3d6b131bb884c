#include "phonebook/core/book_document.h"

#include "phonebook/core/book_changes.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <cstring>

// A whole book swapped in: what was there before is kept to go back to.
class BookDocument::BookCommand : public QUndoCommand {
public:
    BookCommand(BookDocument& document, const TelBook& book, const QString& filePath)
        : document_(document), after_(std::make_unique<TelBook>(book)), afterPath_(filePath),
          before_(std::make_unique<TelBook>(document.book())), beforePath_(document.filePath())
    {
    }
    void redo() override { document_.setBook(*after_, afterPath_); }
    void undo() override { document_.setBook(*before_, beforePath_); }

private:
    BookDocument& document_;
    std::unique_ptr<TelBook> after_;
    QString afterPath_;
    std::unique_ptr<TelBook> before_;
    QString beforePath_;
};

// One entry stored over another or added behind the last.
class BookDocument::EntryCommand : public QUndoCommand {
public:
    EntryCommand(BookDocument& document, std::uint32_t index, const TelEntry& entry)
        : document_(document), index_(index), after_(entry), insert_(index == document.count()),
          before_(insert_ ? TelEntry{} : document.entry(index))
    {
    }
    void redo() override { document_.putEntry(index_, after_, insert_); }
    void undo() override
    {
        if (insert_)
            document_.takeEntry(index_);
        else
            document_.putEntry(index_, before_, false);
    }

private:
    BookDocument& document_;
    std::uint32_t index_;
    TelEntry after_;
    bool insert_;
    TelEntry before_;
};

class BookDocument::RemoveCommand : public QUndoCommand {
public:
    RemoveCommand(BookDocument& document, std::uint32_t index)
        : document_(document), index_(index), removed_(document.entry(index))
    {
    }
    void redo() override { document_.takeEntry(index_); }
    void undo() override { document_.putEntry(index_, removed_, true); }

private:
    BookDocument& document_;
    std::uint32_t index_;
    TelEntry removed_;
};

namespace {

// A whole book replaced keeps two copies of about half a megabyte each; the history stops
// at a size that holds a session's work without growing without end.
constexpr int UNDO_STEPS = 100;

} // namespace

BookDocument::BookDocument(QObject* parent)
    : QObject(parent), book_(std::make_unique<TelBook>()),
      savedFingerprint_(bookFingerprint(*book_)), undoStack_(std::make_unique<QUndoStack>())
{
    undoStack_->setUndoLimit(UNDO_STEPS);
}

BookDocument::~BookDocument() = default;

void BookDocument::replace(const TelBook& book, const QString& filePath)
{
    undoStack_->push(new BookCommand(*this, book, filePath));
}

bool BookDocument::storeEntry(std::uint32_t index, const TelEntry& entry)
{
    if (index > book_->count || index >= MAX_TEL_ENTRIES)
        return false;
    undoStack_->push(new EntryCommand(*this, index, entry));
    return true;
}

void BookDocument::removeEntry(std::uint32_t index)
{
    if (index < book_->count)
        undoStack_->push(new RemoveCommand(*this, index));
}

void BookDocument::removeEntries(const std::vector<std::uint32_t>& indexes)
{
    std::vector<bool> removed(book_->count, false);
    for (std::uint32_t index : indexes)
        if (index < book_->count)
            removed[index] = true;
    auto kept = std::make_unique<TelBook>();
    for (std::uint32_t i = 0; i < book_->count; ++i)
        if (!removed[i])
            kept->entries[kept->count++] = book_->entries[i];
    if (kept->count != book_->count)
        replace(*kept, filePath_);
}

void BookDocument::clear()
{
    static const TelBook empty{};
    replace(empty, QString());
}

void BookDocument::forgetFile()
{
    setFilePath(QString());
}

void BookDocument::markSaved(const QString& filePath)
{
    savedFingerprint_ = bookFingerprint(*book_);
    setFilePath(filePath);
}

void BookDocument::markSaved()
{
    savedFingerprint_ = bookFingerprint(*book_);
}

bool BookDocument::hasUnsavedChanges() const
{
    return book_->count != 0 && bookFingerprint(*book_) != savedFingerprint_;
}

void BookDocument::setBook(const TelBook& book, const QString& filePath)
{
    if (&book != book_.get())
        std::memcpy(book_.get(), &book, sizeof book);
    emit bookReset();
    setFilePath(filePath);
}

void BookDocument::putEntry(std::uint32_t index, const TelEntry& entry, bool insert)
{
    TelBook& book = *book_;
    if (insert) {
        std::memmove(&book.entries[index + 1], &book.entries[index],
                     (book.count - index) * sizeof(TelEntry));
        ++book.count;
    }
    book.entries[index] = entry;
    if (insert)
        emit entryInserted(static_cast<int>(index));
    else
        emit entryChanged(static_cast<int>(index));
}

void BookDocument::takeEntry(std::uint32_t index)
{
    ::removeEntry(*book_, index);
    emit entryRemoved(static_cast<int>(index));
}

void BookDocument::setFilePath(const QString& filePath)
{
    if (filePath == filePath_)
        return;
    filePath_ = filePath;
    emit filePathChanged(filePath_);
}
