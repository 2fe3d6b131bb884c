#include "phonebook/core/dialable_number.h"

#include <algorithm>

namespace {

bool isSeparator(QChar c)
{
    return c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('/') ||
           c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('[') ||
           c == QLatin1Char(']');
}

bool isDialable(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('*') ||
           c == QLatin1Char('#') || c == QLatin1Char('P');
}

} // namespace

std::optional<QString> toDialableNumber(const QString& value)
{
    QString text = value.normalized(QString::NormalizationForm_KC).trimmed();
    if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        text = text.mid(4);
    // URI parameters of a tel: value; only the extension is dialled.
    QString extension;
    if (const qsizetype semicolon = text.indexOf(QLatin1Char(';')); semicolon >= 0) {
        for (const QString& parameter : text.mid(semicolon + 1).split(QLatin1Char(';')))
            if (parameter.startsWith(QLatin1String("ext="), Qt::CaseInsensitive))
                extension = parameter.mid(4);
        text.truncate(semicolon);
    }
    QString number;
    for (QChar c : text) {
        if (isSeparator(c))
            continue;
        if (c == QLatin1Char('p') || c == QLatin1Char(','))
            c = QLatin1Char('P');
        number += c;
    }
    if (!extension.isEmpty())
        number += QLatin1Char('P') + extension;
    if (number.startsWith(QLatin1String("+81"))) {
        number = number.mid(3);
        if (!number.startsWith(QLatin1Char('0')))
            number.prepend(QLatin1Char('0'));
    } else if (number.startsWith(QLatin1Char('+'))) {
        number = QStringLiteral("010") + number.mid(1);
    }
    if (number.isEmpty() || !std::all_of(number.cbegin(), number.cend(), isDialable))
        return std::nullopt;
    return number;
}
