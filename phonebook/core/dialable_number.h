#pragma once
// Telephone numbers as smartphones write them and users type them ("+81 90-1234-5678",
// "tel:+1-418-656-9254;ext=102", "(03) 1234.5678") turned into what the handset dials: digits,
// *, # and P only. The imports and the entry editor share it, so both store a number alike.

#include <QString>
#include <QStringList>

#include <optional>

// Spaces, hyphens, dots, slashes and brackets are dropped; full-width digits become ASCII; a
// leading +81 becomes 0 (a trunk 0 written after it is not doubled), any other leading + becomes
// 010 and the country code, as dialled from Japan; "tel:" is removed and an extension
// (";ext=102", "p", ",") becomes the pause P. Nothing when what is left is not a number (words,
// another URI, an empty value).
std::optional<QString> toDialableNumber(const QString& value);
