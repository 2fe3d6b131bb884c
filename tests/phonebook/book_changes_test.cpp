#include "phonebook/core/book_document.h"
#include "phonebook/core/tel_book.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class BookChanges : public testing::Test {
protected:
    // Two entries, as just saved.
    void startWithASavedBook()
    {
        fillBook(document,
                 {{"山田太郎", "ﾔﾏﾀﾞ", {"0312345678"}}, {"佐藤花子", "ｻﾄｳ", {"0661234567"}}});
        document.markSaved(QStringLiteral("/tmp/book.vcf"));
    }
    // The document's book with change made to it.
    void change(const std::function<void(TelBook&)>& change)
    {
        auto book = std::make_unique<TelBook>(document.book());
        change(*book);
        document.replace(*book, document.filePath());
    }
    void SetUp() override { startWithASavedBook(); }

    BookDocument document;
};

TEST_F(BookChanges, EveryChangeToTheEntriesInUseCounts)
{
    const std::pair<const char*, std::function<void(TelBook&)>> cases[] = {
        {"a byte of a name", [](TelBook& b) { b.entries[1].name[0] ^= 1; }},
        {"a memo of the full 100 bytes",
         [](TelBook& b) { std::memset(b.entries[0].memo, 'x', MEMO_FIELD_SIZE - 1); }},
        {"a telephone kind", [](TelBook& b) { b.entries[0].tel[0].kind = TEL_FAX; }},
        {"the secret flag", [](TelBook& b) { b.entries[1].secret = 1; }},
        {"an entry removed", [](TelBook& b) { removeEntry(b, 0); }},
        {"an entry added", [](TelBook& b) { b.entries[b.count++] = b.entries[0]; }},
        {"two entries swapped", [](TelBook& b) { std::swap(b.entries[0], b.entries[1]); }},
    };
    for (const auto& [what, edit] : cases) {
        SCOPED_TRACE(what);
        startWithASavedBook();
        EXPECT_FALSE(document.hasUnsavedChanges());
        change(edit);
        EXPECT_TRUE(document.hasUnsavedChanges());
        document.markSaved();
        EXPECT_FALSE(document.hasUnsavedChanges());
    }
}

TEST_F(BookChanges, WhatIsNoPartOfAnEntryDoesNotCount)
{
    const std::pair<const char*, std::function<void(TelBook&)>> cases[] = {
        {"a byte behind the end of the name",
         [](TelBook& b) { b.entries[0].name[NAME_FIELD_SIZE - 1] = 'x'; }},
        {"the kind of a free slot", [](TelBook& b) { b.entries[0].mail[2].kind = MAIL_OFFICE_PC; }},
        {"a name changed and changed back",
         [](TelBook& b) {
             const TelEntry before = b.entries[0];
             setField(b.entries[0].name, NAME_FIELD_SIZE, "山田次郎");
             b.entries[0] = before;
         }},
    };
    for (const auto& [what, edit] : cases) {
        SCOPED_TRACE(what);
        startWithASavedBook();
        change(edit);
        EXPECT_FALSE(document.hasUnsavedChanges());
    }
}

TEST_F(BookChanges, AnEmptyBookHasNothingToLose)
{
    document.clear();
    EXPECT_FALSE(document.hasUnsavedChanges());
    fillBook(document, {{"鈴木", "ｽｽﾞｷ", {"0451234567"}}});
    EXPECT_TRUE(document.hasUnsavedChanges());
}

} // namespace
