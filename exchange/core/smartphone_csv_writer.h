#pragma once
// Writes the book as CSV in UTF-8 with the header row the address-book services import
// (First Name, Last Name, Phonetic …, E-mail n - Label/Value, Phone n - Label/Value), CR LF,
// fields quoted as RFC 4180 asks. The whole name goes to Last Name and the reading, in
// full-width katakana, to Phonetic Last Name, the way a family name with its reading is kept.
// What the import's completion filled in ("****" numbers, a reading made from a number, an
// address or the time) is left out.

#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QString>

QByteArray smartphoneCsv(const TelBook& book);

// A field quoted when it holds a comma, a quote, a line break or blanks at its ends.
QString csvField(const QString& text);
