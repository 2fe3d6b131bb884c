// The sync's three-way plan over books in the handset's stored form: one row per classic case,
// the conflicts under each choice, and the guards.

#include "tests/device/sync_cases.h"

#include <gtest/gtest.h>

namespace {

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

TEST(SyncPlan, ANumberChangedOnlyAfterItsPauseIsAChangeOfItsOwn)
{
    // The handset changes the extension, the PC adds a number: both changes arrive.
    const TelEntry office = withNumber(ueno(), 0, "0312345678P101");
    const Book state = stored({aoki(), office});
    const Book handset = stored({aoki(), withNumber(office, 0, "0312345678P202")});
    const Book pc = {aoki(), withNumber(office, 1, "09011112222")};
    const SyncPlan plan = planSync(state, true, handset, pc, STORED);
    ASSERT_TRUE(plan.conflicts.empty());
    const SyncResult result = resolveSync(plan, handset, pc, {}, STORED);
    for (const Book& side : {result.pcBook, result.handsetBook}) {
        ASSERT_EQ(side.size(), 2u);
        QStringList numbers;
        for (const TelNumber& number : side[1].tel)
            if (number.number[0])
                numbers << QString::fromLatin1(number.number);
        numbers.sort();
        EXPECT_EQ(numbers,
                  (QStringList{QStringLiteral("0312345678P202"), QStringLiteral("09011112222")}))
            << describe(side);
    }
}

TEST(SyncPlan, TwoPeopleNewOnEachSideWithOnlyTheNameInCommonStayTwo)
{
    // A colleague on the handset and a neighbour on the PC, both 田中, each with a mobile of
    // their own: nothing says they are one person, so neither is merged into the other.
    const TelEntry colleague = makeEntry({"田中", "ﾀﾅｶ", {"09011112222"}});
    const TelEntry neighbour = makeEntry({"田中", "ﾀﾅｶ", {"09033334444"}});
    const TelEntry sameMobile = makeEntry({"田中一郎", "ﾀﾅｶｲﾁﾛｳ", {"09011112222"}});
    for (const bool hasState : {false, true}) {
        SCOPED_TRACE(hasState ? "added on both" : "first sync");
        const Book state = hasState ? stored(base()) : Book{};
        const Book handset = stored(plus(base(), colleague));
        const Book pc = plus(base(), neighbour);
        const SyncPlan plan = planSync(state, hasState, handset, pc, STORED);
        const SyncResult result = resolveSync(plan, handset, pc, {}, STORED);
        EXPECT_TRUE(sameBook(result.pcBook, plus(plus(base(), neighbour), colleague)))
            << describe(result.pcBook);
        // A shared mobile number is a person's: those two are one.
        const SyncPlan shared =
            planSync(state, hasState, handset, plus(base(), sameMobile), STORED);
        EXPECT_EQ(shared.people.size(), base().size() + 1);
    }
}

} // namespace
