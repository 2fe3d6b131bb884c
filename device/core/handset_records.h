#pragma once
// The exact copy of the handset's book kept beside each vCard backup: the record lines as the
// handset sent them, after a first line that names the format. The vCard file is for people and
// other programs; this copy gives back every field as the handset held it, and a restore writes
// from it.

#include "device/core/device_record.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

inline constexpr char RECORDS_COPY_HEADER[] = "VEMBLOR HANDSET RECORDS 1";

// The copy that belongs beside a backup: ".../handset-X.vcf" gives ".../handset-X.records";
// a name without ".vcf" gets ".records" added.
QString recordsCopyPath(const QString& backupPath);

// The header line and the record lines, each ended by CR LF.
QByteArray recordsCopyText(const QList<QByteArray>& recordLines);

// Stores record into the entry at entryIndex of book, continuing at the slots filled; when the
// record ends the entry, entryIndex moves on to the next one and the slots start over.
RecordFlags addRecordToBook(const DeviceRecord& record, TelBook& book, int& entryIndex,
                            RecordSlots& filled);

// Replaces book by the entries of a copy. On failure book is left as it was and error says why:
// not such a copy, a line that is no record, the last record missing, more entries than a book
// holds.
bool readRecordsCopy(QByteArrayView text, TelBook& book, QString& error);
bool readRecordsCopyFile(const QString& path, TelBook& book, QString& error);
