#include "exchange/core/smartphone_csv_writer.h"

#include "exchange/core/contact_labels.h"
#include "phonebook/core/completion_placeholders.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/reading_kana.h"

#include <QStringList>

namespace {

QStringList headerRow()
{
    QStringList header = {QStringLiteral("First Name"),
                          QStringLiteral("Last Name"),
                          QStringLiteral("Phonetic First Name"),
                          QStringLiteral("Phonetic Last Name"),
                          QStringLiteral("Notes"),
                          QStringLiteral("Labels"),
                          QStringLiteral("Sensitivity")};
    for (int n = 1; n <= MAIL_SLOTS; ++n)
        header << QStringLiteral("E-mail %1 - Label").arg(n)
               << QStringLiteral("E-mail %1 - Value").arg(n);
    for (int n = 1; n <= TEL_SLOTS; ++n)
        header << QStringLiteral("Phone %1 - Label").arg(n)
               << QStringLiteral("Phone %1 - Value").arg(n);
    return header;
}

QStringList entryRow(const TelEntry& entry)
{
    QStringList row = {QString(),
                       fromCp932(entry.name),
                       QString(),
                       isCompletionReading(entry) ? QString()
                                                  : toFullWidthReading(fromCp932(entry.furigana)),
                       fromCp932(entry.memo),
                       entry.group ? groupLabel(entry.group) : QString(),
                       entry.secret ? QStringLiteral("Private") : QString()};
    // Filled slots first, in slot order, as the numbered columns expect.
    QStringList mails, numbers;
    for (const MailAddress& mail : entry.mail)
        if (mail.address[0])
            mails << QLatin1String(mail.kind == MAIL_OFFICE_PC ? "Work" : "Other")
                  << fromCp932(mail.address);
    for (const TelNumber& tel : entry.tel)
        if (tel.number[0] && !isCompletionNumber(tel.number))
            numbers << QLatin1String(telCsvLabel(tel.kind)) << fromCp932(tel.number);
    while (mails.size() < 2 * MAIL_SLOTS)
        mails << QString();
    while (numbers.size() < 2 * TEL_SLOTS)
        numbers << QString();
    return row + mails + numbers;
}

QByteArray csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace

QString csvField(const QString& text)
{
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                             text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
                             text != text.trimmed();
    if (!needsQuotes)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QByteArray smartphoneCsv(const TelBook& book)
{
    QByteArray file = csvLine(headerRow());
    for (std::uint32_t i = 0; i < book.count && i < MAX_TEL_ENTRIES; ++i)
        file += csvLine(entryRow(book.entries[i]));
    return file;
}
