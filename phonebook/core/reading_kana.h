#pragma once
// Readings between the kana the exporters write and the half-width katakana of the book.

#include <QString>

struct HalfWidthReading {
    QString text;    // half-width katakana, ASCII and the half-width marks ｡｢｣､･
    QString dropped; // the characters that have no half-width form (kanji, symbols), in order
};

// Hiragana and full-width katakana become half-width katakana, a voiced or semi-voiced kana
// its base and ﾞ or ﾟ, ー becomes ｰ, full-width Latin letters and digits become ASCII, the
// ideographic space a blank; ヮヰヱヵヶ take the nearest half-width kana. Everything else that
// is not printable ASCII is dropped.
HalfWidthReading toHalfWidthReading(const QString& reading);

// The reading of the book in full-width katakana, as smartphones keep it.
QString toFullWidthReading(const QString& halfWidth);
