#pragma once
// Readings in the order of the Japanese syllabary (あいうえお…), and text compared without regard
// to the way its kana are written.

#include "phonebook/core/tel_book.h"

#include <QString>

// text with hiragana, full-width and half-width katakana all as full-width katakana (a half-width
// kana and its ﾞ or ﾟ as one voiced kana), full-width Latin letters and digits as ASCII, and
// letters in one case: two texts that a reader takes for the same fold to the same.
QString foldKana(const QString& text);

// The key that orders readings in gojūon order: voiced, semi-voiced and small kana count as
// their plain kana, the long mark, blanks and punctuation are left out, Latin letters and
// digits come after every kana, and an empty reading after everything.
QString gojuonKey(const QString& reading);

// The rows of the syllabary an index offers, あ行 to わ行, and one for everything else.
constexpr int GOJUON_ROW_COUNT = 11;
constexpr int GOJUON_OTHER_ROW = GOJUON_ROW_COUNT - 1;
// The row a gojuonKey starts in.
int gojuonRowOf(const QString& key);

// True when entry a comes before entry b in reading order: by gojuonKey of the readings, then
// by name.
bool readingOrderLess(const QString& keyA, const QString& nameA, const QString& keyB,
                      const QString& nameB);

// Puts the book's entries in reading order; entries with the same reading and name keep their
// order.
void sortBookByReading(TelBook& book);
