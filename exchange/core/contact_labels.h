#pragma once
// The words with which vCard TYPE parameters, X-ABLabel lines and CSV label columns say what a
// number or an address is, and the category that carries the group. Shared by the readers and
// the writers of smartphone files so that what one writes the other reads back.

#include "phonebook/core/tel_entry.h"

#include <QString>
#include <QStringList>

#include <cstdint>

#include <optional>

// Kind of a number from its type words or label, in any case: a fax stays a fax whatever else
// it is; then mobile (CELL, MOBILE, IPHONE, 携帯), PHS (PCS, X-NEC-PHS), work (WORK, 会社,
// BUSINESS); anything else (HOME, VOICE, MAIN, a custom label) is a plain number.
TelKind telKindFromWords(const QStringList& words);

// MAIL_OFFICE_PC for a work address, MAIL_UNSPECIFIED for every other.
MailKind mailKindFromWords(const QStringList& words);

// How the smartphone files write a number's kind: the vCard 3.0 TYPE list ("WORK,VOICE") and
// the label of the CSV column ("Work"); a code without a name is a plain number.
const char* telVCardTypes(std::uint8_t kind);
const char* telCsvLabel(std::uint8_t kind);

// "グループ3": the category or label that carries an entry's group.
QString groupLabel(int group);
// The group of the first "グループN" among labels (0 to 255), or nothing.
std::optional<int> groupFromLabels(const QStringList& labels);
