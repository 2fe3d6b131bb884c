#include "phonebook/core/reading_kana.h"

#include <QHash>

namespace {

constexpr char16_t HALF_VOICED = u'\uFF9E';
constexpr char16_t HALF_SEMI_VOICED = u'\uFF9F';

// Full-width katakana and marks → their half-width form, built from the compatibility
// decomposition of the half-width block (U+FF61 to U+FF9F) so the table cannot drift from it.
const QHash<char16_t, char16_t>& halfWidthForms()
{
    static const QHash<char16_t, char16_t> forms = [] {
        QHash<char16_t, char16_t> table;
        for (char16_t half = 0xFF61; half <= 0xFF9F; ++half) {
            const QString full = QString(QChar(half)).normalized(QString::NormalizationForm_KC);
            if (full.size() == 1)
                table.insert(full[0].unicode(), half);
        }
        // Kana without a half-width form of their own take the nearest one.
        for (auto [full, half] :
             {std::pair{u'ヮ', u'ﾜ'}, std::pair{u'ヰ', u'ｲ'}, std::pair{u'ヱ', u'ｴ'},
              std::pair{u'ヵ', u'ｶ'}, std::pair{u'ヶ', u'ｹ'}, std::pair{u'゛', HALF_VOICED},
              std::pair{u'゜', HALF_SEMI_VOICED}})
            table.insert(full, half);
        return table;
    }();
    return forms;
}

bool isHiragana(char16_t c)
{
    return c >= u'\u3041' && c <= u'\u3096';
}

} // namespace

HalfWidthReading toHalfWidthReading(const QString& reading)
{
    HalfWidthReading result;
    // Canonical decomposition splits ガ into カ and the combining voiced mark, and pulls
    // full-width Latin letters and digits to ASCII with the compatibility forms.
    // The spacing marks ゛ and ゜ decompose to a blank and the combining mark; take them as
    // the half-width marks first, which decompose to the combining mark alone.
    QString marks = reading;
    marks.replace(QChar(u'゛'), QChar(HALF_VOICED));
    marks.replace(QChar(u'゜'), QChar(HALF_SEMI_VOICED));
    const QString decomposed = marks.normalized(QString::NormalizationForm_KD);
    const auto& forms = halfWidthForms();
    for (QChar ch : decomposed) {
        char16_t c = ch.unicode();
        if (isHiragana(c))
            c = static_cast<char16_t>(c + 0x60);
        if (c == u'\u3099') {
            result.text += QChar(HALF_VOICED);
        } else if (c == u'\u309A') {
            result.text += QChar(HALF_SEMI_VOICED);
        } else if (c == u'\u3000' || c == u'\t' || c == u'\n' || c == u'\r') {
            result.text += QLatin1Char(' ');
        } else if (c >= 0x20 && c <= 0x7E) {
            result.text += QChar(c);
        } else if (const auto half = forms.constFind(c); half != forms.constEnd()) {
            result.text += QChar(*half);
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            result.text += QChar(c);
        } else {
            result.dropped += ch;
        }
    }
    return result;
}

QString toFullWidthReading(const QString& halfWidth)
{
    QString full = halfWidth.normalized(QString::NormalizationForm_KC);
    // The compatibility form of ﾞ and ﾟ on their own is the combining mark; keep the spacing
    // one so that nothing attaches to the character before it.
    full.replace(QChar(u'\u3099'), QChar(u'゛'));
    full.replace(QChar(u'\u309A'), QChar(u'゜'));
    return full;
}
