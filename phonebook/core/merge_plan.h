#pragma once
// A merge the user decides entry by entry: the incoming entries with the book entry each pairs
// with, whether it is taken and how, and the field differences the preview shows. Applying a
// plan is the one way entries are merged into a book; the modes of mergeIntoBook are plans
// selected by a rule.

#include "phonebook/core/book_merge.h"

#include <QString>

#include <span>
#include <vector>

enum class MergeChoice {
    Merge,    // まとめる: into the book entry it pairs with (added when it pairs with none)
    AddAsNew, // 別の人として追加: added as an entry of its own
    Skip,     // 取り込まない
};

struct PlannedEntry {
    EntryMatch match;
    bool take = false; // the check box
    MergeChoice choice = MergeChoice::Merge;
};

struct MergePlan {
    std::vector<PlannedEntry> entries; // one per incoming entry, in the incoming order
    std::vector<int> bookOnly;         // book positions no incoming entry pairs with
};

// The plan the preview opens with: 更新 and 新規 taken; 同じ (nothing to take), 確認 and
// 同じ人かも left for the user to decide.
MergePlan planMerge(std::span<const TelEntry> book, std::span<const TelEntry> incoming);

// Takes the entries of plan as their choices say; an entry not taken that would have changed
// something is listed as left out. When the result would hold more than MAX_TEL_ENTRIES
// entries, the book stays as it was and the outcome says refused.
MergeOutcome applyMergePlan(TelBook& book, std::span<const TelEntry> incoming,
                            const MergePlan& plan);

struct FieldDifference {
    QString field; // "名前", "フリガナ", "電話番号", "メール", "グループ", "シークレット", "メモ"
    QString book;  // the book entry's value ("" for none)
    QString incoming; // the incoming entry's value
};

// The fields in which the incoming entry says something the book entry does not: a different
// text, or numbers and addresses the book entry lacks (compared by slotKey, as the merge does).
std::vector<FieldDifference> fieldDifferences(const TelEntry& book, const TelEntry& incoming);

// "まとめると1034件になり、1000件を超えます"
QString overCapacityMessage(std::uint32_t count);
