#pragma once
// A sync plan with its conflicts decided: the book the handset gets, the book the PC keeps, and
// what changes on each side.

#include "phonebook/core/sync_plan.h"

enum class ConflictChoice {
    Handset, // the handset's value
    Pc,      // the PC's value
    Both,    // two entries: one with the handset's values, one with the PC's
};

struct SyncChange {
    enum class Kind { Added, Changed, Deleted };
    Kind kind;
    TelEntry entry{};              // the entry as it will be; Deleted: the entry that goes
    std::vector<SyncField> fields; // Changed: the fields that change
};

struct SyncResult {
    // The handset's entries first in the handset's order, then the ones it gets; the PC's book
    // likewise in the PC's order.
    std::vector<TelEntry> handsetBook;
    std::vector<TelEntry> pcBook;
    std::vector<SyncChange> toHandset; // in the handset's book, compared in stored form
    std::vector<SyncChange> toPc;
    bool tooMany = false; // a book would hold more than MAX_TEL_ENTRIES entries

    bool nothingChanges() const { return toHandset.empty() && toPc.empty(); }
};

// choices: one per plan.conflicts, in their order.
SyncResult resolveSync(const SyncPlan& plan, std::span<const TelEntry> handset,
                       std::span<const TelEntry> pc, const std::vector<ConflictChoice>& choices,
                       const StoredFormOf& storedForm);

// The same choice for every conflict of plan.
std::vector<ConflictChoice> sameChoiceForAll(const SyncPlan& plan, ConflictChoice choice);
