#pragma once
// The texts the merge preview and the duplicate finder show for entries, field differences and
// the values a merge could not take.

#include "phonebook/core/merge_plan.h"

#include <QString>

// The entry's name, or a stand-in for an entry without one.
QString entryNameText(const TelEntry& entry);
// "book value → incoming value", "（なし）" for an empty book value.
QString differenceText(const FieldDifference& difference);
// An overflow or conflict note on the book entry held: which value stays out and why.
QString mergeNoteText(const MergeNote& note, const TelEntry& held);
