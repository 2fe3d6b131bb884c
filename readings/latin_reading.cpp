#include "readings/latin_reading.h"

#include "phonebook/core/latin_letters.h"

#include <algorithm>

std::optional<QString> latinReading(const QString& name)
{
    QString folded = foldLatinLetters(name).simplified();
    folded.replace(QChar(u'\u2019'), QLatin1Char('\''))
        .replace(QChar(u'\u2018'), QLatin1Char('\''));
    const bool printableAscii = std::all_of(folded.cbegin(), folded.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() <= 0x7E;
    });
    const bool hasLetter = std::any_of(folded.cbegin(), folded.cend(), [](QChar c) {
        return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    });
    if (!printableAscii || !hasLetter)
        return std::nullopt;
    return folded.toUpper();
}
