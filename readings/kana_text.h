#pragma once
// Character classes and kana conversions under the reading service: names are compared in
// their compatibility form (half-width katakana and full-width letters folded), readings come
// out in the half-width katakana a handset sorts by.

#include <QString>

#include <optional>

enum class NameChar { Kana, Kanji, Space, Other };

// The compatibility form of a name (NFKC): half-width katakana become full-width, full-width
// letters, digits and blanks become ASCII, and the variant kanji of code page 932's extensions
// (髙, 﨑) their common forms.
QString normalizedName(const QString& name);

NameChar nameCharClass(QChar c);

// Hiragana replaced by katakana; everything else unchanged.
QString toKatakana(QString text);

// Full-width katakana (with ー, ・ and blanks) in half-width form, a voiced sound as two
// characters; nothing when a character has no half-width form.
std::optional<QString> toHalfWidthKatakana(const QString& katakana);
