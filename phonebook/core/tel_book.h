#pragma once
// A phone book. The entries in use are the first `count` slots, in the
// order they were imported, read or added; every slot from `count` on is all zero bytes.

#include "phonebook/core/tel_entry.h"

#include <cstdint>
#include <memory>
#include <span>

constexpr std::uint32_t MAX_TEL_ENTRIES = 1000;

struct TelBook {
    TelEntry entries[MAX_TEL_ENTRIES];
    std::uint32_t count;
};

// count := 0 and every slot zero-filled.
void clearBook(TelBook& book);

// A book holding entries, at most MAX_TEL_ENTRIES of them; every other slot is zero.
std::unique_ptr<TelBook> bookOf(std::span<const TelEntry> entries);

// Removes the entry at index (0 <= index < count), closes the gap and zero-fills the freed
// last slot. An index outside the book is ignored.
void removeEntry(TelBook& book, std::uint32_t index);
