#include "phonebook/core/book_document.h"
#include "tests/support/book_fixtures.h"

#include <QSignalSpy>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

TelBook bookOf(std::initializer_list<EntryFields> entries)
{
    TelBook book{};
    for (const EntryFields& fields : entries)
        book.entries[book.count++] = makeEntry(fields);
    return book;
}

const TelBook& twoEntries()
{
    static const TelBook book =
        bookOf({{"山田太郎", "ﾔﾏﾀﾞ", {"0312345678"}}, {"佐藤花子", "ｻﾄｳ", {"0661234567"}}});
    return book;
}

std::vector<std::string> namesIn(const BookDocument& document)
{
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < document.count(); ++i)
        names.emplace_back(fromCp932(document.entry(i).name).toStdString());
    return names;
}

// Every signal the document sent, in order, as "kind index".
class SignalLog {
public:
    explicit SignalLog(BookDocument& document)
    {
        QObject::connect(&document, &BookDocument::bookReset, [this] { log_.push_back("reset"); });
        QObject::connect(&document, &BookDocument::entryChanged,
                         [this](int i) { log_.push_back("changed " + std::to_string(i)); });
        QObject::connect(&document, &BookDocument::entryInserted,
                         [this](int i) { log_.push_back("inserted " + std::to_string(i)); });
        QObject::connect(&document, &BookDocument::entryRemoved,
                         [this](int i) { log_.push_back("removed " + std::to_string(i)); });
    }
    std::vector<std::string> take() { return std::exchange(log_, {}); }

private:
    std::vector<std::string> log_;
};

using Names = std::vector<std::string>;
using Log = std::vector<std::string>;

TEST(BookDocument, EachChangeAnnouncesItselfAndLeavesTheBookAsSaid)
{
    BookDocument document;
    SignalLog signals_(document);
    QSignalSpy pathChanges(&document, &BookDocument::filePathChanged);

    document.replace(twoEntries(), QStringLiteral("/books/a.vcf"));
    EXPECT_EQ(signals_.take(), Log{"reset"});
    EXPECT_EQ(namesIn(document), (Names{"山田太郎", "佐藤花子"}));
    EXPECT_EQ(document.filePath(), QStringLiteral("/books/a.vcf"));
    EXPECT_EQ(pathChanges.count(), 1);

    EXPECT_TRUE(document.storeEntry(0, makeEntry({"鈴木一郎", "ｽｽﾞｷ"})));
    EXPECT_EQ(signals_.take(), Log{"changed 0"});
    EXPECT_TRUE(document.storeEntry(2, makeEntry({"高橋", "ﾀｶﾊｼ"})));
    EXPECT_EQ(signals_.take(), Log{"inserted 2"});
    EXPECT_EQ(namesIn(document), (Names{"鈴木一郎", "佐藤花子", "高橋"}));

    document.removeEntry(1);
    EXPECT_EQ(signals_.take(), Log{"removed 1"});
    EXPECT_EQ(namesIn(document), (Names{"鈴木一郎", "高橋"}));
    // The freed slot is zero again, as the book's layout promises.
    const TelEntry zero{};
    EXPECT_EQ(std::memcmp(&document.entry(2), &zero, sizeof zero), 0);

    document.clear();
    EXPECT_EQ(signals_.take(), Log{"reset"});
    EXPECT_EQ(document.count(), 0u);
    EXPECT_TRUE(document.filePath().isEmpty());
    EXPECT_EQ(pathChanges.count(), 2);
}

TEST(BookDocument, AChangeOutsideTheBookIsRefusedAndChangesNothing)
{
    BookDocument document;
    document.replace(twoEntries(), QString());
    const int steps = document.undoStack()->count();
    SignalLog signals_(document);

    EXPECT_FALSE(document.storeEntry(3, makeEntry({"飛び地", "ﾄﾋﾞﾁ"})));
    document.removeEntry(2);
    document.removeEntry(static_cast<std::uint32_t>(-1));
    EXPECT_EQ(signals_.take(), Log{});
    EXPECT_EQ(document.undoStack()->count(), steps);
    EXPECT_EQ(namesIn(document), (Names{"山田太郎", "佐藤花子"}));

    TelBook full{};
    full.count = MAX_TEL_ENTRIES;
    for (TelEntry& entry : full.entries)
        entry = makeEntry({"満杯", "ﾏﾝﾊﾟｲ"});
    document.replace(full, QString());
    EXPECT_FALSE(document.storeEntry(MAX_TEL_ENTRIES, makeEntry({"千一", "ｾﾝｲﾁ"})));
    EXPECT_EQ(document.count(), MAX_TEL_ENTRIES);
    EXPECT_TRUE(document.storeEntry(MAX_TEL_ENTRIES - 1, makeEntry({"最後", "ｻｲｺﾞ"})));
}

TEST(BookDocument, UnsavedChangesFollowTheEntriesNotTheWayTheyChanged)
{
    BookDocument document;
    EXPECT_FALSE(document.hasUnsavedChanges()); // nothing to lose

    document.replace(twoEntries(), QStringLiteral("/books/a.vcf"));
    EXPECT_TRUE(document.hasUnsavedChanges()); // until the caller says where it is kept
    document.markSaved();
    EXPECT_FALSE(document.hasUnsavedChanges());

    const TelEntry first = document.entry(0);
    document.storeEntry(0, first); // stored as it was
    EXPECT_FALSE(document.hasUnsavedChanges());

    document.storeEntry(0, makeEntry({"鈴木一郎", "ｽｽﾞｷ"}));
    EXPECT_TRUE(document.hasUnsavedChanges());
    document.storeEntry(0, first); // changed back
    EXPECT_FALSE(document.hasUnsavedChanges());

    document.removeEntry(0);
    EXPECT_TRUE(document.hasUnsavedChanges());
    document.markSaved(QStringLiteral("/books/b.vcf"));
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_EQ(document.filePath(), QStringLiteral("/books/b.vcf"));

    document.clear(); // an empty book cannot be saved, so it has nothing to lose
    EXPECT_FALSE(document.hasUnsavedChanges());
}

TEST(BookDocument, EveryChangeGoesThroughTheUndoStackAndCanBeTakenBack)
{
    BookDocument document;
    QUndoStack& stack = *document.undoStack();
    document.replace(twoEntries(), QStringLiteral("/books/a.vcf"));
    document.markSaved();
    document.storeEntry(1, makeEntry({"鈴木一郎", "ｽｽﾞｷ"}));
    document.storeEntry(2, makeEntry({"高橋", "ﾀｶﾊｼ"}));
    document.removeEntry(0);
    document.clear();
    EXPECT_EQ(stack.count(), 5);

    SignalLog signals_(document);
    const Names expected[] = {
        {"鈴木一郎", "高橋"},             // before clear
        {"山田太郎", "鈴木一郎", "高橋"}, // before remove
        {"山田太郎", "鈴木一郎"},         // before the append
        {"山田太郎", "佐藤花子"},         // before the store
    };
    const Log announced[] = {{"reset"}, {"inserted 0"}, {"removed 2"}, {"changed 1"}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        stack.undo();
        EXPECT_EQ(namesIn(document), expected[i]);
        EXPECT_EQ(signals_.take(), announced[i]);
    }
    EXPECT_EQ(document.filePath(), QStringLiteral("/books/a.vcf"));
    EXPECT_FALSE(document.hasUnsavedChanges()); // back where it was saved

    stack.redo();
    EXPECT_EQ(namesIn(document), (Names{"山田太郎", "鈴木一郎"}));
    EXPECT_TRUE(document.hasUnsavedChanges());

    stack.undo();
    stack.undo(); // the whole book goes back to empty
    EXPECT_EQ(document.count(), 0u);
    EXPECT_TRUE(document.filePath().isEmpty());
}

} // namespace
