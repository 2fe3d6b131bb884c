#include "device/core/handset_backup.h"

#include "device/core/handset_records.h"
#include "exchange/core/vcard_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

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
                 : QStringLiteral("%1-%2.vcf")
                       .arg(QFileInfo(name).completeBaseName(), QString::number(n));
}

// Writes text to the scratch file and puts it on the disk.
bool writeDurably(QTemporaryFile& file, const QByteArray& text)
{
    if (!file.open() || file.write(text) != text.size() || !file.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0)
        return false;
#endif
    file.close();
    return true;
}

// The backup is only as good as its exact copy: read back from the disk, it must give the book
// the handset sent, entry by entry, or nothing may be erased.
BackupResult checkedCopy(BackupResult result, const TelBook& book)
{
    auto readBack = std::make_unique<TelBook>();
    QString error;
    const QString copyPath = recordsCopyPath(result.path);
    if (!readRecordsCopyFile(copyPath, *readBack, error)) {
        result.saved = false;
        result.error = QStringLiteral("保存した電話帳の写しを読み戻せません。\n") + error;
        return result;
    }
    std::uint32_t differs = 0;
    while (differs < std::min(book.count, readBack->count) &&
           std::memcmp(&book.entries[differs], &readBack->entries[differs], sizeof(TelEntry)) == 0)
        ++differs;
    if (differs < book.count || readBack->count != book.count) {
        result.saved = false;
        result.error = QStringLiteral("保存した電話帳の写し %1 を読み戻すと、携帯電話から読んだ"
                                      "電話帳と %2件目が一致しません（%3件のうち%4件）。")
                           .arg(QDir::toNativeSeparators(copyPath), QString::number(differs + 1),
                                QString::number(book.count), QString::number(readBack->count));
    }
    return result;
}

} // namespace

QString backupFileName(const QDateTime& now)
{
    return QStringLiteral("handset-%1.vcf").arg(now.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

BackupResult saveHandsetBackup(const TelBook& book, const QList<QByteArray>& records,
                               const TransferOptions& options, const QDateTime& now)
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
    for (const QString& path : {options.backupFile, recordsCopyPath(options.backupFile)})
        if (named && QFileInfo::exists(path)) {
            result.error = QStringLiteral("ファイル %1 はすでにあります。")
                               .arg(QDir::toNativeSeparators(path));
            return result;
        }

    // Both files are written whole under names of their own first, then given their real names.
    QTemporaryFile scratch(QDir(folder).filePath(QStringLiteral(".handset-XXXXXX.tmp")));
    QTemporaryFile recordsScratch(QDir(folder).filePath(QStringLiteral(".handset-XXXXXX.tmp")));
    SilentFileHost host;
    const auto saveFailed = [&](const QString& shown) {
        result.error = shown.isEmpty() ? QString::fromUtf8(SAVE_FAILED_MESSAGE) : shown;
        result.error +=
            QStringLiteral("（%1）").arg(QDir::toNativeSeparators(QDir(folder).filePath(name)));
        return result;
    };
    if (!scratch.open() ||
        (scratch.close(), writeVCardFile(scratch.fileName(), book, host) != FILE_TASK_DONE))
        return saveFailed(host.shown);
    if (!writeDurably(recordsScratch, recordsCopyText(records)))
        return saveFailed(QString());
    for (int n = 1;; ++n) {
        result.path = named ? options.backupFile : QDir(folder).filePath(numberedName(name, n));
        const QString copyPath = recordsCopyPath(result.path);
        Claim claim = claimName(recordsScratch.fileName(), copyPath);
        if (claim == Claim::Done) {
            claim = claimName(scratch.fileName(), result.path);
            if (claim != Claim::Done)
                QFile::remove(copyPath); // only just made, and nobody was told of it
        }
        if (claim == Claim::Done) {
            result.saved = syncFolder(folder);
            if (!result.saved)
                claim = Claim::Failed;
            else
                return checkedCopy(std::move(result), book);
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
