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

// What an edit holds after the user typed, pasted or dropped text into it.
struct EditChange {
    QString text;    // the edit's text
    int cursor = 0;  // the cursor, after what was taken of the new text
    QString dropped; // characters of the new text left out for want of a code page 932 form
};

// The change from before to after (the edit's text before and after one typing, pasting or
// dropping) as an edit of maxBytes code page 932 bytes takes it: the new text (what after holds
// in place of a part of before) is folded to the code page 932 forms, loses every character
// that has no form there, and is cut, on a character boundary, where the whole would pass
// maxBytes. The rest of the text stays as it was.
EditChange limitEditChange(const QString& before, const QString& after, int maxBytes);

// The text of a field as an edit shows it: a byte pair that code page 932 leaves unassigned, or
// a byte that starts no character there, shows as "・", as the platform's own conversion shows
// it, so that whatever the edit shows can be stored again.
QString editableText(const char* field);

// Takes text as the entry's memo unless it holds a control byte (below 0x20, such as a pasted
// tab) or the byte 0xFF, has no code page 932 form or does not fit; false leaves the memo as it
// was.
bool storeMemoText(TelEntry& entry, const QString& text);

// The message (UTF-8) of the first check 決定 fails, or nullptr when the entry may be stored:
// name, reading, a first number or a first address, then the field rules over the reading,
// every number and every address.
const char* decideRefusal(const TelEntry& entry);
