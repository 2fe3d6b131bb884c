#pragma once
// 連絡先の取り込み: replaces the book with the contacts of a file that a smartphone, an
// address-book service or a mail program exported (vCard 2.1/3.0/4.0, or CSV with a header
// row), fitted into entries under the field rules, with a report of every change. The book is
// replaced in one step; a file that cannot be imported leaves it as it was.

#include "exchange/core/contact_completion.h"
#include "exchange/core/import_report.h"
#include "exchange/core/local_clock.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QString>

// Files larger than this are refused before they are read: a thousand cards with photos stay
// far below it.
constexpr qint64 MAX_CONTACT_FILE = 64 << 20;

inline constexpr const char* CONTACT_NO_DATA_MESSAGE =
    "連絡先ファイルに電話帳のデータがありません。";
// A device, pipe or folder: it may never end, so nothing is read from it.
inline constexpr const char* CONTACT_NOT_A_FILE_MESSAGE =
    "連絡先ファイルが通常のファイルではない為、取り込みを終了します。";
inline constexpr const char* CONTACT_HEADER_MESSAGE =
    "CSVファイルの見出し行を認識できない為、取り込みを終了します。"
    "列を手で割り当てるには「CSV インポート」を使ってください。";
inline constexpr const char* CONTACT_HEADER_WITHOUT_NUMBER_MESSAGE =
    "CSVファイルの見出し行に電話番号とメールアドレスの列がない為、取り込みを終了します。"
    "列を手で割り当てるには「CSV インポート」を使ってください。";

inline constexpr const char* CONTACT_BROKEN_VCARD_MESSAGE =
    "vCardファイルが「BEGIN:VCARD」で始まっていない為、壊れたvCardとして取り込みを終了します。";

struct ContactImportResult {
    bool ok = false;
    QString message; // why the import failed, for the user
    ImportReport report;
};

// Imports the contacts held in file into book; proposer, when given, offers readings for
// entries whose file gave none.
ContactImportResult importContacts(const QByteArray& file, TelBook& book, const QDateTime& now,
                                   const ReadingProposer& proposer = {});
ContactImportResult importContactsFile(const QString& path, TelBook& book,
                                       const LocalClock& clock = systemClock(),
                                       const ReadingProposer& proposer = {});
