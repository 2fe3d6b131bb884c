// The sync's three-way plan over books in the handset's stored form: one row per classic case,
// the conflicts under each choice, and the guards.

#include "device/core/written_book_check.h"
#include "phonebook/core/sync_result.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Book = std::vector<TelEntry>;

StoredFormOf storedOn(const char* model)
{
    return [model](const TelEntry& entry) { return storedForm(entry, 0, model); };
}

const StoredFormOf STORED = storedOn("VN650R");

TelEntry aoki()
{
    return makeEntry({"青木一郎", "ｱｵｷｲﾁﾛｳ", {"09011110001"}, {"aoki@example.jp"}, "メモA"});
}
TelEntry ito()
{
    return makeEntry({"伊藤二郎", "ｲﾄｳｼﾞﾛｳ", {"09011110002"}});
}
TelEntry ueno()
{
    return makeEntry({"上野三郎", "ｳｴﾉｻﾌﾞﾛｳ", {"09011110003"}});
}
TelEntry eto()
{
    return makeEntry({"江藤四郎", "ｴﾄｳｼﾛｳ", {"09011110004"}});
}
TelEntry newcomer()
{
    return makeEntry({"大野五郎", "ｵｵﾉｺﾞﾛｳ", {"08022220005"}, {"ono@example.jp"}});
}

TelEntry withNumber(TelEntry entry, int slot, const char* number)
{
    setField(entry.tel[slot].number, NUMBER_FIELD_SIZE, number);
    return entry;
}
TelEntry withMemo(TelEntry entry, const char* memo)
{
    setField(entry.memo, MEMO_FIELD_SIZE, memo);
    return entry;
}
TelEntry withAddress(TelEntry entry, int slot, const char* address)
{
    setField(entry.mail[slot].address, ADDRESS_FIELD_SIZE, address);
    return entry;
}

Book base()
{
    return {aoki(), ito(), ueno(), eto()};
}

Book without(Book book, std::size_t at)
{
    book.erase(book.begin() + static_cast<std::ptrdiff_t>(at));
    return book;
}
Book replaced(Book book, std::size_t at, const TelEntry& entry)
{
    book[at] = entry;
    return book;
}
Book plus(Book book, const TelEntry& entry)
{
    book.push_back(entry);
    return book;
}

Book stored(const Book& book)
{
    Book result;
    for (const TelEntry& entry : book)
        result.push_back(STORED(entry));
    return result;
}

std::string describe(const Book& book)
{
    std::string text;
    for (const TelEntry& entry : book)
        text += QString::fromUtf8("[%1 %2 %3 %4]")
                    .arg(fromCp932(entry.name), QString::fromLatin1(entry.tel[0].number),
                         QString::fromLatin1(entry.tel[1].number), fromCp932(entry.memo))
                    .toStdString();
    return text;
}

bool sameBook(const Book& a, const Book& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const TelEntry& x, const TelEntry& y) {
               return std::memcmp(&x, &y, sizeof x) == 0;
           });
}

struct SyncCase {
    const char* label;
    Book state;
    Book handset; // as the handset holds it
    Book pc;
    ConflictChoice choice;
    Book expectedHandset;
    Book expectedPc;
};

std::vector<SyncCase> classicCases()
{
    const TelEntry aokiNumber = withNumber(aoki(), 0, "09099990001");
    const TelEntry aokiMemo = withMemo(aoki(), "新しいメモ");
    const TelEntry aokiBoth = withMemo(aokiNumber, "新しいメモ");
    const TelEntry itoChanged = withAddress(ito(), 0, "ito@example.jp");
    const TelEntry memoHandset = withMemo(aoki(), "携帯のメモ");
    const TelEntry memoPc = withMemo(aoki(), "パソコンのメモ");
    const TelEntry aokiTwoNumbers = withNumber(aoki(), 1, "0312345678");
    const TelEntry aokiOtherNumber = withNumber(aoki(), 1, "0611112222");
    const TelEntry aokiThreeNumbers = withNumber(aokiTwoNumbers, 2, "0611112222");
    return {
        {"added on the handset", base(), plus(base(), newcomer()), base(), ConflictChoice::Pc,
         plus(base(), newcomer()), plus(base(), newcomer())},
        {"added on the PC", base(), base(), plus(base(), newcomer()), ConflictChoice::Pc,
         plus(base(), newcomer()), plus(base(), newcomer())},
        {"deleted on the handset, unchanged on the PC", base(), without(base(), 1), base(),
         ConflictChoice::Pc, without(base(), 1), without(base(), 1)},
        {"deleted on the PC, unchanged on the handset", base(), base(), without(base(), 2),
         ConflictChoice::Pc, without(base(), 2), without(base(), 2)},
        {"deleted on the handset, changed on the PC", base(), without(base(), 1),
         replaced(base(), 1, itoChanged), ConflictChoice::Pc, plus(without(base(), 1), itoChanged),
         replaced(base(), 1, itoChanged)},
        {"deleted on both", base(), without(base(), 3), without(base(), 3), ConflictChoice::Pc,
         without(base(), 3), without(base(), 3)},
        {"different fields changed on each side", base(), replaced(base(), 0, aokiNumber),
         replaced(base(), 0, aokiMemo), ConflictChoice::Pc, replaced(base(), 0, aokiBoth),
         replaced(base(), 0, aokiBoth)},
        {"numbers added on each side merge as a set", base(), replaced(base(), 0, aokiTwoNumbers),
         replaced(base(), 0, aokiOtherNumber), ConflictChoice::Pc,
         replaced(base(), 0, withNumber(withNumber(aoki(), 1, "0611112222"), 2, "0312345678")),
         replaced(base(), 0, withNumber(withNumber(aoki(), 1, "0611112222"), 2, "0312345678"))},
        {"a number removed on one side goes", replaced(base(), 0, aokiThreeNumbers),
         replaced(base(), 0, aokiTwoNumbers), replaced(base(), 0, aokiThreeNumbers),
         ConflictChoice::Pc, replaced(base(), 0, aokiTwoNumbers),
         replaced(base(), 0, aokiTwoNumbers)},
        {"the same field changed differently, the PC's value", base(),
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoPc), ConflictChoice::Pc,
         replaced(base(), 0, memoPc), replaced(base(), 0, memoPc)},
        {"the same field changed differently, the handset's value", base(),
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoPc), ConflictChoice::Handset,
         replaced(base(), 0, memoHandset), replaced(base(), 0, memoHandset)},
        {"the same field changed differently, both kept", base(), replaced(base(), 0, memoHandset),
         replaced(base(), 0, memoPc), ConflictChoice::Both,
         Book{memoPc, memoHandset, ito(), ueno(), eto()},
         Book{memoPc, memoHandset, ito(), ueno(), eto()}},
        {"the same person added on both", base(), plus(base(), newcomer()),
         plus(base(), newcomer()), ConflictChoice::Pc, plus(base(), newcomer()),
         plus(base(), newcomer())},
        {"nothing changed", base(), base(), base(), ConflictChoice::Pc, base(), base()},
    };
}

TEST(SyncPlan, ClassicCases)
{
    for (const SyncCase& row : classicCases()) {
        SCOPED_TRACE(row.label);
        const Book state = stored(row.state);
        const Book handset = stored(row.handset);
        const SyncPlan plan = planSync(state, true, handset, row.pc, STORED);
        ASSERT_EQ(plan.stop, SyncStop::None);
        EXPECT_FALSE(plan.slowSync);
        const SyncResult result =
            resolveSync(plan, handset, row.pc, sameChoiceForAll(plan, row.choice), STORED);
        EXPECT_TRUE(sameBook(stored(result.handsetBook), stored(row.expectedHandset)))
            << describe(result.handsetBook) << " expected " << describe(row.expectedHandset);
        EXPECT_TRUE(sameBook(result.pcBook, row.expectedPc))
            << describe(result.pcBook) << " expected " << describe(row.expectedPc);
        // What changes on each side is exactly what tells the books apart.
        EXPECT_EQ(result.toHandset.empty(), sameBook(stored(result.handsetBook), handset));
        EXPECT_EQ(result.toPc.empty(), sameBook(result.pcBook, row.pc));
    }
}

TEST(SyncPlan, AConflictNamesItsFieldAndOnlyThatField)
{
    const Book state = stored(base());
    const Book handset =
        stored(replaced(base(), 0, withMemo(withNumber(aoki(), 0, "09099990001"), "携帯")));
    const Book pc = replaced(base(), 0, withMemo(aoki(), "パソコン"));
    const SyncPlan plan = planSync(state, true, handset, pc, STORED);
    ASSERT_EQ(plan.conflicts.size(), 1u);
    EXPECT_EQ(plan.conflicts[0].field, SyncField::Memo);
    // The handset's number change is taken whatever the memo's choice.
    for (const ConflictChoice choice :
         {ConflictChoice::Pc, ConflictChoice::Handset, ConflictChoice::Both}) {
        const SyncResult result = resolveSync(plan, handset, pc, {choice}, STORED);
        for (std::size_t i = 0; i < (choice == ConflictChoice::Both ? 2u : 1u); ++i)
            EXPECT_STREQ(result.pcBook[i].tel[0].number, "09099990001");
    }
}

TEST(SyncPlan, WithoutStateTheBooksAreMergedAndNothingIsDeleted)
{
    const TelEntry onlyHandset = newcomer();
    const Book handset = stored({aoki(), ito(), onlyHandset});
    const Book pc = {aoki(), ueno(), eto()};
    for (const bool hasState : {false, true}) {
        SCOPED_TRACE(hasState ? "another handset of the model" : "no state");
        // A state that holds none of the handset's entries is another handset's.
        const Book state = hasState ? stored({withNumber(eto(), 0, "07000000000"),
                                              makeEntry({"無関係", "ﾑｶﾝｹｲ", {"07011112222"}})})
                                    : Book{};
        const SyncPlan plan = planSync(state, hasState, handset, pc, STORED);
        EXPECT_TRUE(plan.slowSync);
        EXPECT_EQ(plan.stop, SyncStop::None);
        const SyncResult result =
            resolveSync(plan, handset, pc, sameChoiceForAll(plan, ConflictChoice::Pc), STORED);
        EXPECT_TRUE(sameBook(stored(result.handsetBook),
                             stored({aoki(), ito(), onlyHandset, ueno(), eto()})))
            << describe(result.handsetBook);
        EXPECT_TRUE(sameBook(result.pcBook, {aoki(), ueno(), eto(), ito(), onlyHandset}))
            << describe(result.pcBook);
        for (const SyncChange& change : result.toPc)
            EXPECT_NE(change.kind, SyncChange::Kind::Deleted);
    }
}

TEST(SyncPlan, AHandsetThatLostEntriesStopsBeforeAnythingIsDeleted)
{
    const Book state = stored(base());
    struct GuardCase {
        const char* label;
        Book handset;
        SyncStop stop;
    } cases[] = {
        {"empty", {}, SyncStop::HandsetEmpty},
        {"lost two of four", stored({aoki(), eto()}), SyncStop::HandsetLostEntries},
        {"lost one of four", stored(without(base(), 1)), SyncStop::None},
    };
    for (const GuardCase& row : cases) {
        SCOPED_TRACE(row.label);
        const SyncPlan plan = planSync(state, true, row.handset, base(), STORED);
        EXPECT_EQ(plan.stop, row.stop);
        if (row.stop != SyncStop::None) {
            EXPECT_TRUE(plan.people.empty());
        }
    }
    // With no entries in the state there is nothing to lose.
    EXPECT_EQ(planSync({}, true, {}, base(), STORED).stop, SyncStop::None);
}

TEST(SyncPlan, MoreThanABookHoldsNeedsASelection)
{
    Book handset;
    Book pc;
    for (int i = 0; i < 600; ++i) {
        const std::string number = "090" + std::to_string(10000000 + i);
        handset.push_back(STORED(makeEntry({"携帯" + std::to_string(i), "ｹｲﾀｲ", {number}})));
        const std::string other = "080" + std::to_string(10000000 + i);
        pc.push_back(makeEntry({"パソコン" + std::to_string(i), "ﾊﾟｿｺﾝ", {other}}));
    }
    const SyncPlan plan = planSync({}, false, handset, pc, STORED);
    EXPECT_EQ(plan.stop, SyncStop::TooMany);
}

TEST(SyncPlan, WhatTheModelCannotHoldIsNoChange)
{
    // A memo the model without memo never gets, and a number kind its records cannot tell.
    const StoredFormOf noMemo = storedOn("VN07R");
    TelEntry longName = makeEntry({"寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末",
                                   "ｼﾞｭｹﾞﾑ",
                                   {"09033334444"},
                                   {},
                                   "長いメモは携帯電話に入らない"});
    longName.tel[0].kind = 7;
    const Book pc = {longName, ito()};
    const Book handset = {noMemo(longName), noMemo(ito())};
    ASSERT_STRNE(handset[0].memo, longName.memo);
    ASSERT_NE(handset[0].tel[0].kind, longName.tel[0].kind);
    const SyncPlan plan = planSync(handset, true, handset, pc, noMemo);
    const SyncResult result = resolveSync(plan, handset, pc, {}, noMemo);
    EXPECT_TRUE(result.nothingChanges());
    EXPECT_TRUE(sameBook(result.pcBook, pc));
}

TEST(SyncPlan, EqualEntriesPairUpOneToOne)
{
    // Two equal entries in the state, one deleted on the handset: exactly one goes.
    const Book state = stored({ito(), ito(), ueno(), eto()});
    const Book handset = stored({ito(), ueno(), eto()});
    const Book pc = {ito(), ito(), ueno(), eto()};
    const SyncPlan plan = planSync(state, true, handset, pc, STORED);
    const SyncResult result = resolveSync(plan, handset, pc, {}, STORED);
    EXPECT_TRUE(sameBook(result.pcBook, {ito(), ueno(), eto()})) << describe(result.pcBook);
    EXPECT_TRUE(result.toHandset.empty());
}

} // namespace
