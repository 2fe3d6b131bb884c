#pragma once
// Which entries of two books are the same entry, for a sync: an equal stored form first (as a
// multiset, so n equal entries on each side pair up n times), then the matcher's pairs among the
// rest where the two share a personal number or an address, or (against the last synced book) a
// name. Everything else is left unpaired: deleted on one side or added on the other.

#include "phonebook/core/tel_entry.h"

#include <span>
#include <vector>

// What the two books are, which decides whether an equal name alone pairs two entries.
enum class PairingOf {
    // The last synced book and one side now: an entry whose numbers changed keeps its name.
    StateAndSide,
    // Entries new on each side: two people may share a name, so it takes more (a personal
    // number or an address in common, or the matcher's surer classes).
    NewEntries,
};

// For each entry of a, the position of its pair in b or -1. Both are in stored form; each entry
// of b pairs with at most one entry of a.
std::vector<int> pairEntries(std::span<const TelEntry> a, std::span<const TelEntry> b,
                             PairingOf pairing);

// The entries not yet used, with their positions in entries.
struct UnusedEntries {
    std::vector<TelEntry> entries;
    std::vector<int> at;
};
UnusedEntries unusedEntries(std::span<const TelEntry> entries, const std::vector<bool>& used);

// Equal in every byte; both in stored form.
bool sameStoredEntry(const TelEntry& a, const TelEntry& b);
