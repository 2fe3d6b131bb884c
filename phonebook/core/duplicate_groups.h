#pragma once
// Entries of one book that are or may be the same person, gathered in groups, and the merge of
// a group into its first entry. The classes are the merge's: a group is merged with the same
// field rules as an incoming entry, and what does not fit is listed, never dropped.

#include "phonebook/core/merge_plan.h"

#include <span>
#include <vector>

struct DuplicateMember {
    int entry;       // position in the book
    MatchClass kind; // against the group's first entry (同じ人かも when linked only through
                     // another member)
    bool take;       // merged into the first entry; 同じ人かも and 確認 wait for the user
};

struct DuplicateGroup {
    int first; // the entry the others merge into: the earliest of the group
    std::vector<DuplicateMember> others;
};

// The groups in the order of their first entries; an entry belongs to one group at most.
std::vector<DuplicateGroup> findDuplicateGroups(std::span<const TelEntry> book);

struct DuplicateOutcome {
    int merged = 0; // entries merged into their group's first entry and removed
    int kept = 0; // taken entries kept because a value of theirs did not fit or differs (in notes)
    std::vector<MergeNote> notes; // incoming: the member's book position
};

// Merges the taken members of each group into its first entry and removes them. A member that
// would leave a number, address, memo, name or reading behind stays in the book beside its first
// entry, and the notes say what did not fit or differs.
DuplicateOutcome mergeDuplicateGroups(TelBook& book, const std::vector<DuplicateGroup>& groups);
