#include "device/core/handset_backup.h"

#include "exchange/core/vcard_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Nothing to ask and nobody to cancel: the backup runs inside the transfer's own step.
class SilentFileHost final : public FileTaskHost {
public:
    bool pollCancel() override { return false; }
    bool askYesNo(const QString&) override { return false; }
    void showMessage(const QString& text) override { shown = text; }
    QString shown;
};

// Gives the finished file at from the name path, in one step that fails when the name is
// taken: a second writer at the same moment can never replace or share it.
enum class Claim { Done, Taken, Failed };
Claim claimName(const QString& from, const QString& path)
{
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(path).constData()) == 0)
        return Claim::Done;
    return errno == EEXIST ? Claim::Taken : Claim::Failed;
#else
    if (QFileInfo::exists(path))
        return Claim::Taken;
    return QFile::copy(from, path) ? Claim::Done : Claim::Failed;
#endif
}

// Makes the folder's entry for a new file durable, so that a backup named to the user before the
// erase is still there after a power cut.
bool syncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#else
    (void)folder;
    return true;
#endif
}

// The name candidate, or with "-2", "-3", ... the first one free.
QString numberedName(const QString& name, int n)
{
    return n < 2 ? name
                 : QStringLiteral("%1-%2.vcf").arg(QFileInfo(name).completeBaseName()).arg(n);
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
    const bool named = !options.backupFile.isEmpty();
    const QString folder = named ? QFileInfo(options.backupFile).absolutePath() : options.backupDir;
    if (!named && !QDir(folder).mkpath(QStringLiteral("."))) {
        result.error =
            QStringLiteral("フォルダ %1 を作れません。").arg(QDir::toNativeSeparators(folder));
        return result;
    }
    const QString name = named ? QFileInfo(options.backupFile).fileName() : backupFileName(now);
    if (named && QFileInfo::exists(options.backupFile)) {
        result.error = QStringLiteral("ファイル %1 はすでにあります。")
                           .arg(QDir::toNativeSeparators(options.backupFile));
        return result;
    }

    // The whole file is written under a name of its own first, then given its real name.
    QTemporaryFile scratch(QDir(folder).filePath(QStringLiteral(".handset-XXXXXX.tmp")));
    SilentFileHost host;
    if (!scratch.open() ||
        (scratch.close(), writeVCardFile(scratch.fileName(), book, host) != FILE_TASK_DONE)) {
        result.error = host.shown.isEmpty() ? QString::fromUtf8(SAVE_FAILED_MESSAGE) : host.shown;
        result.error +=
            QStringLiteral("（%1）").arg(QDir::toNativeSeparators(QDir(folder).filePath(name)));
        return result;
    }
    for (int n = 1;; ++n) {
        result.path = named ? options.backupFile : QDir(folder).filePath(numberedName(name, n));
        Claim claim = claimName(scratch.fileName(), result.path);
        if (claim == Claim::Done) {
            result.saved = syncFolder(folder);
            if (result.saved)
                return result;
            claim = Claim::Failed;
        }
        if (claim == Claim::Failed || named) {
            result.error =
                claim == Claim::Taken
                    ? QStringLiteral("ファイル %1 はすでにあります。")
                          .arg(QDir::toNativeSeparators(result.path))
                    : QString::fromUtf8(SAVE_FAILED_MESSAGE) +
                          QStringLiteral("（%1）").arg(QDir::toNativeSeparators(result.path));
            return result;
        }
    }
}
