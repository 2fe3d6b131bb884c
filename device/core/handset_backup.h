#pragma once
// The handset's book as it was before a write erased it: a vCard file in the program's own
// dialect for people and other programs, and beside it the exact copy of the records the handset
// sent, from which a restore brings the book back as it was. Backups are never deleted or
// overwritten by the program.

#include "device/core/transfer_options.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

struct BackupResult {
    bool saved = false;
    QString path;  // the file written
    QString error; // why nothing was saved, in the user's words
};

// "handset-YYYYMMDD-HHMMSS.vcf" for the local time now.
QString backupFileName(const QDateTime& now);

// Saves book to options.backupFile when it is set, else to a new file backupFileName(now) in
// options.backupDir (made when missing; "-2", "-3", ... is added to a name already taken), and
// records, the lines book was read from, as its exact copy at recordsCopyPath of that name.
// The copy is read back from the disk; unless it gives book entry by entry, saved is false.
BackupResult saveHandsetBackup(const TelBook& book, const QList<QByteArray>& records,
                               const TransferOptions& options,
                               const QDateTime& now = QDateTime::currentDateTime());
