#include "device/core/backup_book.h"

#include "device/core/handset_records.h"
#include "exchange/core/contact_import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

bool isRecordsCopy(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.read(sizeof RECORDS_COPY_HEADER - 1) == QByteArray(RECORDS_COPY_HEADER);
}

} // namespace

BackupBook loadBackupBook(const QString& path, TelBook& book)
{
    BackupBook result;
    if (!QFileInfo(path).isFile()) {
        result.error =
            QStringLiteral("ファイル %1 がありません。").arg(QDir::toNativeSeparators(path));
        return result;
    }
    const QString beside = recordsCopyPath(path);
    const QString copy =
        isRecordsCopy(path) ? path : (QFileInfo(beside).isFile() ? beside : QString());
    auto read = std::make_unique<TelBook>();
    if (!copy.isEmpty()) {
        result.exactCopy = true;
        if (!readRecordsCopyFile(copy, *read, result.error))
            return result;
    } else {
        const ContactImportResult imported = importContactsFile(path, *read);
        if (!imported.ok) {
            result.error =
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), imported.message);
            return result;
        }
    }
    if (read->count == 0) {
        result.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path),
                                                    QString::fromUtf8(CONTACT_NO_DATA_MESSAGE));
        return result;
    }
    book = *read;
    result.loaded = true;
    return result;
}
