#pragma once
// Fits a contact into a phone book entry under the field rules, so the record check never
// rejects what an import made, and notes in the report everything it had to change.

#include "exchange/core/contact_card.h"
#include "exchange/core/import_report.h"
#include "phonebook/core/tel_entry.h"

#include <QString>

// Name from the family and given names (no blank between Japanese names, one between Latin
// ones), else the formatted name, else the company; a name of nothing but blanks is left empty
// for the completion. Reading in half-width katakana; up to three numbers and
// three addresses, preferred ones first; the note as the memo. A reading the file does not
// give (or that holds no kana) stays empty for the completion.
TelEntry fitContact(const ContactCard& card, EntryReport& report);

// The parts joined as a name: without a blank when any holds Japanese script, else with one.
QString joinNameParts(const QStringList& parts);

// Stores text in a field of fieldSize bytes as code page 932: control characters (but line
// breaks and tabs) and user-defined characters dropped, characters folded to the forms code
// page 932 holds, accented Latin letters to their base letters, those without any form
// dropped, then cut on a character boundary. Each step that changed something is reported
// under field.
void fitText(const QString& text, char* field, std::size_t fieldSize, const QString& fieldName,
             EntryReport& report);
