#pragma once
// The record check run over every listed entry: reading, then numbers 1-3, then addresses 1-3.
// The first field that breaks its rule ends the check; the book itself is never changed.

#include "phonebook/core/tel_book.h"

enum class CheckedField { None, Furigana, Tel1, Tel2, Tel3, Mail1, Mail2, Mail3 };

struct EntryCheck {
    CheckedField failed = CheckedField::None;
    const char* message = nullptr; // UTF-8 text for the user; null when the entry passed

    bool ok() const { return failed == CheckedField::None; }
};

struct BookCheck {
    int entryIndex = -1; // first failing entry; -1 when every entry passed
    EntryCheck entry;

    bool ok() const { return entryIndex < 0; }
};

EntryCheck checkEntry(const TelEntry& entry);
BookCheck checkBook(const TelBook& book);
