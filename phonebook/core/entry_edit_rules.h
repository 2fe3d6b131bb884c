#pragma once
// The rules of the entry editor that do not depend on its window: how much an edit may hold, which
// memo texts it takes, and what 決定 checks before an entry may be stored.

#include "phonebook/core/tel_entry.h"

#include <QString>

// Byte limits of the editor's edits, in code page 932 bytes (a double-byte character counts 2).
constexpr int NAME_EDIT_LIMIT = NAME_FIELD_SIZE - 1;
constexpr int FURIGANA_EDIT_LIMIT = FURIGANA_FIELD_SIZE - 1;
constexpr int NUMBER_EDIT_LIMIT = NUMBER_FIELD_SIZE - 1;
constexpr int ADDRESS_EDIT_LIMIT = ADDRESS_FIELD_SIZE - 1;
constexpr int MEMO_EDIT_LIMIT = MEMO_FIELD_SIZE - 1;

// True when every character of text has a code page 932 form and the whole takes at most
// maxBytes bytes there.
bool fitsEditLimit(const QString& text, int maxBytes);

// Takes text as the entry's memo unless it holds a control byte (below 0x20, such as a pasted
// tab) or the byte 0xFF, has no code page 932 form or does not fit; false leaves the memo as it
// was.
bool storeMemoText(TelEntry& entry, const QString& text);

// The message (UTF-8) of the first check 決定 fails, or nullptr when the entry may be stored:
// name, reading, a first number or a first address, then the field rules over the reading,
// every number and every address.
const char* decideRefusal(const TelEntry& entry);
