#pragma once
// Writes the book as vCard 3.0 in UTF-8 for smartphones and address-book services: CR LF line
// ends, lines folded at 75 octets, text escaped as RFC 2426 asks; the reading in full-width
// katakana as X-PHONETIC-LAST-NAME and SORT-STRING, the group as the category "グループN" and a
// secret entry as CLASS:PRIVATE, so that 連絡先の取り込み reads the same book back. What the
// import's completion filled in ("****" numbers, a reading made from a number, an address or the
// time) is left out.

#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QString>

QByteArray smartphoneVCard(const TelBook& book);
QByteArray smartphoneVCardEntry(const TelEntry& entry);

// text with backslash, comma, semicolon and line breaks escaped.
QString escapeVCardText(const QString& text);
// One content line folded at 75 octets (never inside a UTF-8 sequence), with CR LF.
QByteArray foldVCardLine(const QByteArray& line);
