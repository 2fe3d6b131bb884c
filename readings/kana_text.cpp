#include "readings/kana_text.h"

#include <QHash>

namespace {

// The half-width form of every full-width katakana, built from the compatibility mapping the
// other way round so that no table of ninety kana has to be typed out; a voiced sound maps to
// its base kana and the sound mark.
QHash<QChar, QString> buildHalfWidthForms()
{
    QHash<QChar, QString> forms;
    for (char16_t half = 0xFF61; half <= 0xFF9F; ++half) {
        const QString one(QChar{half});
        const QString full = one.normalized(QString::NormalizationForm_KC);
        if (full.size() == 1)
            forms.insert(full.front(), one);
        for (char16_t mark : {u'\uFF9E', u'\uFF9F'}) {
            const QString marked = one + QChar(mark);
            const QString composed = marked.normalized(QString::NormalizationForm_KC);
            if (composed.size() == 1)
                forms.insert(composed.front(), marked);
        }
    }
    // Old and small kana that have no half-width form of their own.
    forms.insert(QChar(u'ヰ'), QStringLiteral("ｲ"));
    forms.insert(QChar(u'ヱ'), QStringLiteral("ｴ"));
    forms.insert(QChar(u'ヮ'), QStringLiteral("ﾜ"));
    forms.insert(QChar(u'ヵ'), QStringLiteral("ｶ"));
    forms.insert(QChar(u'ヶ'), QStringLiteral("ｹ"));
    forms.insert(QChar(u' '), QStringLiteral(" "));
    return forms;
}

} // namespace

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
    static const QHash<QChar, QString> forms = buildHalfWidthForms();
    QString half;
    half.reserve(katakana.size() * 2);
    for (QChar c : katakana) {
        auto form = forms.constFind(c);
        if (form == forms.cend())
            return std::nullopt;
        half += *form;
    }
    return half;
}
