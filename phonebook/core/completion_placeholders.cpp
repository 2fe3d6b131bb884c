#include "phonebook/core/completion_placeholders.h"

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

// The reading field holds the first bytes of a longer number or address.
bool isCopyOf(const char* reading, const char* source)
{
    const std::size_t length = std::strlen(reading);
    return source[0] && std::strncmp(reading, source, FURIGANA_FIELD_SIZE - 1) == 0 &&
           length == std::min(std::strlen(source), FURIGANA_FIELD_SIZE - 1);
}

} // namespace

bool isCompletionNumber(const char* number)
{
    return std::strcmp(number, COMPLETION_NUMBER) == 0;
}

bool isCompletionReading(const TelEntry& entry)
{
    const char* reading = entry.furigana;
    if (!reading[0])
        return false;
    for (const TelNumber& tel : entry.tel)
        if (isCopyOf(reading, tel.number))
            return true;
    for (const MailAddress& mail : entry.mail)
        if (isCopyOf(reading, mail.address))
            return true;
    static const QRegularExpression timeStamp(
        QStringLiteral("^\\d{4}/\\d{2}/\\d{2}/ \\d{2}:\\d{2}$"));
    static const QRegularExpression dialled(QStringLiteral("^[0-9*#P]*[0-9][0-9*#P]*$"));
    const QString text = QString::fromLatin1(reading);
    return timeStamp.match(text).hasMatch() || dialled.match(text).hasMatch() ||
           std::strchr(reading, '@') != nullptr;
}
