#pragma once
// The handset's book as it was before a write erased it, kept as a vCard file in the program's
// own dialect, so that vCard インポート and 書き込み bring it back as it was. Backups are never
// deleted or overwritten by the program.

#include "device/core/transfer_options.h"
#include "phonebook/core/tel_book.h"

#include <QDateTime>
#include <QString>

struct BackupResult {
    bool saved = false;
    QString path;  // the file written
    QString error; // why nothing was saved, in the user's words
};

// "handset-YYYYMMDD-HHMMSS.vcf" for the local time now.
QString backupFileName(const QDateTime& now);

// Saves book to options.backupFile when it is set, else to a new file backupFileName(now) in
// options.backupDir (made when missing; "-2", "-3", ... is added to a name already taken).
BackupResult saveHandsetBackup(const TelBook& book, const TransferOptions& options,
                               const QDateTime& now = QDateTime::currentDateTime());
