#include "device/core/handset_backup.h"

#include "exchange/core/vcard_writer.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Nothing to ask and nobody to cancel: the backup runs inside the transfer's own step.
class SilentFileHost final : public FileTaskHost {
public:
    bool pollCancel() override { return false; }
    bool askYesNo(const QString&) override { return false; }
    void showMessage(const QString& text) override { shown = text; }
    QString shown;
};

QString freePath(const QDir& dir, const QString& name)
{
    const QString base = QFileInfo(name).completeBaseName();
    QString path = dir.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.vcf").arg(base).arg(n));
    return path;
}

} // namespace

QString backupFileName(const QDateTime& now)
{
    return QStringLiteral("handset-%1.vcf").arg(now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

BackupResult saveHandsetBackup(const TelBook& book, const TransferOptions& options,
                               const QDateTime& now)
{
    BackupResult result;
    if (options.backupFile.isEmpty()) {
        const QDir dir(options.backupDir);
        if (!dir.mkpath(QStringLiteral("."))) {
            result.error = QStringLiteral("フォルダ %1 を作れません。")
                               .arg(QDir::toNativeSeparators(options.backupDir));
            return result;
        }
        result.path = freePath(dir, backupFileName(now));
    } else {
        result.path = options.backupFile;
        if (QFileInfo::exists(result.path)) {
            result.error = QStringLiteral("ファイル %1 はすでにあります。")
                               .arg(QDir::toNativeSeparators(result.path));
            return result;
        }
    }
    SilentFileHost host;
    if (writeVCardFile(result.path, book, host) == FILE_TASK_DONE) {
        result.saved = true;
        return result;
    }
    result.error = host.shown.isEmpty() ? QString::fromUtf8(SAVE_FAILED_MESSAGE) : host.shown;
    result.error += QStringLiteral("（%1）").arg(QDir::toNativeSeparators(result.path));
    return result;
}
