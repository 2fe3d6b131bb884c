#pragma once
// The phone book the main window has open: its entries, the file they came from and the state
// they were last kept in. Every change runs through the undo stack and is announced with a
// signal, so the windows that show the book follow it without being told.

#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QUndoStack;

class BookDocument : public QObject {
    Q_OBJECT
public:
    explicit BookDocument(QObject* parent = nullptr);
    ~BookDocument() override;

    const TelBook& book() const { return *book_; }
    std::uint32_t count() const { return book_->count; }
    const TelEntry& entry(std::uint32_t index) const { return book_->entries[index]; }
    const QString& filePath() const { return filePath_; }

    // Takes a whole book (a file opened or imported, the handset read) with the file it belongs
    // to; empty for none.
    void replace(const TelBook& book, const QString& filePath);
    // Stores entry at index, or appends it when index is the count. False, with the book
    // untouched, for an index beyond that or an append to a full book.
    bool storeEntry(std::uint32_t index, const TelEntry& entry);
    // Removes the entry at index and closes the gap; an index outside the book is ignored.
    void removeEntry(std::uint32_t index);
    // Removes the entries at indexes (in any order; those outside the book are ignored) as one
    // change.
    void removeEntries(const std::vector<std::uint32_t>& indexes);
    // No entries and no file.
    void clear();
    // The entries stay, but no file holds them any more: a save asks for one.
    void forgetFile();

    // Remembers the entries as they are now as the ones kept in path (a save, 名前を付けて保存).
    void markSaved(const QString& filePath);
    // Remembers the entries as they are now as kept elsewhere (the handset), file unchanged.
    void markSaved();
    // True when the book holds entries that differ from the ones last marked saved. An empty book
    // has nothing to lose and cannot be saved, so it never counts as changed.
    bool hasUnsavedChanges() const;

    QUndoStack* undoStack() const { return undoStack_.get(); }

signals:
    // The whole book was replaced or cleared.
    void bookReset();
    void entryChanged(int index);
    void entryInserted(int index);
    void entryRemoved(int index);
    void filePathChanged(const QString& filePath);

private:
    class BookCommand;
    class EntryCommand;
    class RemoveCommand;

    // The changes themselves, as the undo commands carry them out both ways.
    void setBook(const TelBook& book, const QString& filePath);
    void putEntry(std::uint32_t index, const TelEntry& entry, bool insert);
    void takeEntry(std::uint32_t index);
    void setFilePath(const QString& filePath);

    std::unique_ptr<TelBook> book_;
    QString filePath_;
    QByteArray savedFingerprint_;
    std::unique_ptr<QUndoStack> undoStack_;
};
