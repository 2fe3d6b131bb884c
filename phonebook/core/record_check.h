#pragma once
// The record check over the fields the handset is strict about: the reading, numbers 1-3 and
// addresses 1-3. checkEntry and checkBook stop at the first field that breaks its rule (the
// command-line tool reports that one); failingFields finds every such field of an entry, and
// the texts below name them for the user. The book itself is never changed.

#include "phonebook/core/tel_book.h"

#include <QString>

#include <vector>

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

// A set of fields, one bit each; 0 when no field is in it.
using FieldSet = unsigned;
constexpr FieldSet fieldBit(CheckedField field)
{
    return 1u << static_cast<unsigned>(field);
}
// Every field of entry that breaks its rule.
FieldSet failingFields(const TelEntry& entry);
// The field's name as the list's header shows it ("電話番号１"), UTF-8.
const char* checkedFieldName(CheckedField field);
// The rule the field follows, in a sentence for the user (UTF-8).
const char* checkedFieldRule(CheckedField field);

// One sentence that names the entry at index (from 0) of the book and its failing fields:
// "2件目「佐藤花子」の電話番号１に使えない文字があります"; an empty reading is said to be
// missing.
QString entryProblem(const TelEntry& entry, int index, FieldSet failed);
// The indices of the entries of book that break a rule, in the book's order.
std::vector<int> entriesBreakingRules(const TelBook& book);
