#include "exchange/core/contact_import.h"

#include "exchange/core/contact_fit.h"
#include "exchange/core/contact_text_encoding.h"
#include "exchange/core/csv_contact_reader.h"
#include "exchange/core/input_file.h"
#include "exchange/core/vcard_contact_reader.h"
#include "exchange/core/vcard_content_lines.h"

#include <memory>

namespace {

ContactImportResult failure(const QString& message)
{
    ContactImportResult result;
    result.message = message;
    return result;
}

QString readErrorMessage(const ContactReadResult& read)
{
    switch (read.error) {
    case ContactReadError::None:
        break;
    case ContactReadError::UnknownEncoding:
        return QStringLiteral("連絡先ファイルの文字コードが分からない為、取り込みを終了します。");
    case ContactReadError::LineTooLong:
        return QStringLiteral("連絡先ファイルの%1行目が長すぎる為、取り込みを終了します。")
            .arg(read.line);
    case ContactReadError::Truncated:
        return QStringLiteral("連絡先ファイルが途中で終わっている為（%"
                              "1行目からの連絡先）、取り込みを終了します。")
            .arg(read.line);
    case ContactReadError::UnknownCharset:
        return QStringLiteral(
                   "連絡先ファイルの%1行目の文字コード「%2」が分からない為、取り込みを終了します。")
            .arg(read.line)
            .arg(read.detail);
    case ContactReadError::HeaderNotRecognised:
        return QString::fromUtf8(CONTACT_HEADER_MESSAGE);
    case ContactReadError::HeaderWithoutNumberOrAddress:
        return QString::fromUtf8(CONTACT_HEADER_WITHOUT_NUMBER_MESSAGE);
    case ContactReadError::NotAVCard:
        return QString::fromUtf8(CONTACT_BROKEN_VCARD_MESSAGE);
    }
    return QString();
}

// namedAsVCard: the file's name says it is a vCard, so text that is not one is a broken vCard
// rather than a CSV file. The bytes are taken over, so that no second copy of the file is made.
ContactReadResult readContacts(QByteArray file, bool namedAsVCard)
{
    ContactReadResult read;
    const auto bytes = detectContactEncoding(std::move(file));
    if (!bytes) {
        read.error = ContactReadError::UnknownEncoding;
        return read;
    }
    if (const int line = firstTooLongLine(bytes->bytes)) {
        read.error = ContactReadError::LineTooLong;
        read.line = line;
        return read;
    }
    // A view: trimming the bytes themselves would copy the whole file.
    if (QByteArrayView(bytes->bytes).trimmed().isEmpty())
        return read; // no contact at all
    if (looksLikeVCard(bytes->bytes))
        return readVCardContacts(*bytes, MAX_TEL_ENTRIES);
    if (namedAsVCard) {
        read.error = ContactReadError::NotAVCard;
        return read;
    }
    return readCsvContacts(*bytes, MAX_TEL_ENTRIES);
}

bool isNamedAsVCard(const QString& path)
{
    return path.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".vcard"), Qt::CaseInsensitive);
}

ContactImportResult importRead(const ContactReadResult& read, TelBook& book, const QDateTime& now,
                               const ReadingProposer& proposer)
{
    if (!read.ok())
        return failure(readErrorMessage(read));
    if (read.cards.empty())
        return failure(QString::fromUtf8(CONTACT_NO_DATA_MESSAGE));

    ContactImportResult result;
    result.ok = true;
    ImportReport& report = result.report;
    const std::size_t kept = read.cards.size(); // the readers keep no more than the book holds
    report.cardCount = static_cast<int>(kept) + read.leftOut;
    report.leftOut = read.leftOut;
    // Staged apart from the book, which changes only once everything has been fitted.
    auto staging = std::make_unique<TelBook>();
    for (std::size_t i = 0; i < kept; ++i) {
        EntryReport entryReport;
        entryReport.index = static_cast<int>(i);
        TelEntry& entry = staging->entries[i];
        entry = fitContact(read.cards[i], entryReport);
        fillMissingReading(entry, proposer, entryReport);
        completeReported(entry, now, entryReport);
        report.entries.push_back(std::move(entryReport));
    }
    staging->count = static_cast<std::uint32_t>(kept);
    book = *staging;
    return result;
}

} // namespace

ContactImportResult importContacts(const QByteArray& file, TelBook& book, const QDateTime& now,
                                   const ReadingProposer& proposer)
{
    return importRead(readContacts(file, false), book, now, proposer);
}

ContactImportResult importContactsFile(const QString& path, TelBook& book, const LocalClock& clock,
                                       const ReadingProposer& proposer)
{
    InputFile file = readInputFile(path, MAX_CONTACT_FILE);
    switch (file.error) {
    case InputFileError::None:
        break;
    case InputFileError::NotAFile:
        return failure(QString::fromUtf8(CONTACT_NOT_A_FILE_MESSAGE));
    case InputFileError::TooLarge:
        return failure(QStringLiteral("連絡先ファイルが大きすぎる為、取り込みを終了します。"));
    case InputFileError::CannotOpen:
        return failure(QStringLiteral("連絡先ファイルを開けません。"));
    }
    return importRead(readContacts(std::move(file.bytes), isNamedAsVCard(path)), book, clock.now(),
                      proposer);
}
