#pragma once
// What the entry editor makes of a reading, a number or an address typed into its field: the
// same forms an import gives them, the kind a number or address takes when none was chosen, and
// whether a typed text may go into a slot as it is.

#include "phonebook/core/entry_slots.h"

#include <QString>

#include <cstdint>
#include <optional>

// The reading in half-width katakana with its blanks collapsed, as an import fits a reading:
// hiragana and full-width katakana, letters and digits become half-width. Nothing when a
// character has no half-width form (a kanji, a symbol), so that what the user typed stays for
// the user to mend rather than losing characters unseen.
std::optional<QString> tidyReading(const QString& typed);

// A number without hyphens, blanks and brackets, full-width digits half-width and +81 as 0, or
// an address with its full-width letters, digits and symbols half-width and no blanks around
// it. Nothing when the text is no number, or when its tidy form no longer fits the field.
std::optional<QString> tidySlotText(SlotList list, const QString& typed);

// The kind a typed number or address takes when the user chose none: 携帯電話 for a mobile
// number (070, 080, 090), 電話番号 for any other number, 指定なし for an address.
std::uint8_t defaultSlotKind(SlotList list, const QString& text);

// Whether text may be stored in a slot as it is: it has a code page 932 form that fits the
// field and passes the field rule of numbers or of addresses.
bool passesSlotRule(SlotList list, const QString& text);
