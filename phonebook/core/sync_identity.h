#pragma once
// Which entries of two books are the same entry, for a sync: an equal stored form first (as a
// multiset, so n equal entries on each side pair up n times), then the matcher's pairs among the
// rest where the two share a name, a personal number or an address. Everything else is left
// unpaired: deleted on one side or added on the other.

#include "phonebook/core/tel_entry.h"

#include <span>
#include <vector>

// For each entry of a, the position of its pair in b or -1. Both are in stored form; each entry
// of b pairs with at most one entry of a.
std::vector<int> pairEntries(std::span<const TelEntry> a, std::span<const TelEntry> b);

// Equal in every byte; both in stored form.
bool sameStoredEntry(const TelEntry& a, const TelEntry& b);
