#pragma once
// まとめる for the commands that bring in a book: the preview window over the list window's
// book, and the plan the user accepted applied to the book as one undoable step.

#include "phonebook/core/book_merge.h"

#include <optional>
#include <span>

class CTelListDlg;

// The outcome of the merge, or nothing when the user cancelled the preview (the book as it was).
std::optional<MergeOutcome> mergeIncoming(CTelListDlg& list, std::span<const TelEntry> incoming);
