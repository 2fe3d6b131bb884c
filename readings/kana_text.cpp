#include "readings/kana_text.h"

#include "phonebook/core/reading_kana.h"

#include <algorithm>

QString normalizedName(const QString& name)
{
    // Variant kanji of code page 932's extensions, read as their common forms.
    static constexpr struct {
        char16_t variant;
        char16_t common;
    } variants[] = {{u'髙', u'高'}, {u'﨑', u'崎'}, {u'德', u'徳'},
                    {u'瀨', u'瀬'}, {u'濵', u'浜'}, {u'栁', u'柳'}};
    QString text = name.normalized(QString::NormalizationForm_KC).simplified();
    for (QChar& c : text)
        for (const auto& v : variants)
            if (c.unicode() == v.variant)
                c = QChar(v.common);
    return text;
}

NameChar nameCharClass(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FA) || u == 0x30FC || u == 0x30FB)
        return NameChar::Kana;
    if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
        (u >= 0xF900 && u <= 0xFAFF) || u == 0x3005)
        return NameChar::Kanji;
    if (u == u' ')
        return NameChar::Space;
    return NameChar::Other;
}

QString toKatakana(QString text)
{
    for (QChar& c : text)
        if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096)
            c = QChar(char16_t(c.unicode() + 0x60));
    return text;
}

std::optional<QString> toHalfWidthKatakana(const QString& katakana)
{
    // Katakana, ー, ・, blanks and the kana punctuation have a half-width form; anything else (a
    // kanji left over, a Latin letter, hiragana) means the text is no reading.
    const bool katakanaOnly = std::all_of(katakana.cbegin(), katakana.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x30A1 && u <= 0x30FC) || u == u' ' || u == 0x3001 || u == 0x3002 ||
               u == 0x300C || u == 0x300D || u == 0x3099 || u == 0x309A;
    });
    if (!katakanaOnly)
        return std::nullopt;
    return toHalfWidthReading(katakana).text;
}
