#include "phonebook/core/latin_letters.h"

namespace {

// Letters whose canonical decomposition has no base letter: strokes, ligatures, runes.
struct Spelled {
    char16_t letter;
    const char* base;
};

constexpr Spelled SPELLED[] = {
    {u'ß', "ss"}, {u'ẞ', "SS"}, {u'Æ', "AE"}, {u'æ', "ae"}, {u'Œ', "OE"}, {u'œ', "oe"},
    {u'Ø', "O"},  {u'ø', "o"},  {u'Đ', "D"},  {u'đ', "d"},  {u'Ð', "D"},  {u'ð', "d"},
    {u'Þ', "TH"}, {u'þ', "th"}, {u'Ł', "L"},  {u'ł', "l"},  {u'ı', "i"},  {u'Ħ', "H"},
    {u'ħ', "h"},  {u'Ŧ', "T"},  {u'ŧ', "t"},  {u'ĸ', "k"},  {u'Ŋ', "N"},  {u'ŋ', "n"},
};

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

} // namespace

QString latinBaseLetters(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0xC0 || u > 0x24F) // Latin-1 Supplement letters to Latin Extended-B
        return QString(c);
    for (const Spelled& spelled : SPELLED)
        if (spelled.letter == u)
            return QString::fromLatin1(spelled.base);
    // An accented letter decomposes into its base letter and combining marks.
    const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
    if (decomposed.size() > 1 && isAsciiLetter(decomposed[0]))
        return decomposed.left(1);
    if (decomposed.size() > 1) // an accent on a ligature or a letter with a stroke (Ǽ, Ǿ)
        return latinBaseLetters(decomposed[0]);
    return QString(c);
}

QString foldLatinLetters(const QString& text)
{
    QString folded;
    folded.reserve(text.size());
    for (QChar c : text)
        folded += latinBaseLetters(c);
    return folded;
}
