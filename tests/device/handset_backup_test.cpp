// The backup of the handset's book: its file name, a name already taken, a file that cannot be
// written, and a file that reads back as the book it keeps.

#include "device/core/handset_backup.h"
#include "exchange/core/vcard_reader.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QSet>

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Reads without questions; this binary has a transfer host of the same name as the file host.
struct QuietFileHost final : FileTaskHost {
    bool pollCancel() override { return false; }
    bool askYesNo(const QString&) override { return false; }
    void showMessage(const QString& text) override { shown << text; }
    QStringList shown;
};

std::unique_ptr<TelBook> twoEntries()
{
    auto book = std::make_unique<TelBook>();
    book->entries[book->count++] = makeEntry({"山田", "ﾔﾏﾀﾞ", {"0312"}, {"y@x.jp"}, "メモ", 3});
    book->entries[book->count++] = makeEntry({"表ソ", "ﾋｮｳｿ", {}, {"h@x.jp"}});
    return book;
}

TEST(HandsetBackup, GoesToANewTimedFileInTheFolderAndReadsBackAsTheBook)
{
    QTemporaryDir dir;
    TransferOptions options;
    options.backupDir = dir.filePath(QStringLiteral("backup"));
    const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7));
    const auto book = twoEntries();

    const BackupResult first = saveHandsetBackup(*book, options, at);
    ASSERT_TRUE(first.saved) << first.error.toStdString();
    EXPECT_EQ(first.path, options.backupDir + QStringLiteral("/handset-20260304-050607.vcf"));
    const BackupResult second = saveHandsetBackup(*book, options, at);
    ASSERT_TRUE(second.saved);
    EXPECT_EQ(second.path, options.backupDir + QStringLiteral("/handset-20260304-050607-2.vcf"));

    auto readBack = std::make_unique<TelBook>();
    QuietFileHost host;
    ASSERT_EQ(readVCardFile(first.path, *readBack, host), FILE_TASK_DONE);
    EXPECT_TRUE(host.shown.isEmpty());
    ASSERT_EQ(readBack->count, book->count);
    EXPECT_EQ(std::memcmp(readBack->entries, book->entries, book->count * sizeof(TelEntry)), 0);
}

TEST(HandsetBackup, NothingIsSavedWhereItCannotBeOrWouldReplaceAFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("taken.vcf"));
    QFile(file).open(QIODevice::WriteOnly);
    const auto book = twoEntries();
    TransferOptions underAFile;
    underAFile.backupDir = file + QStringLiteral("/backup");
    TransferOptions existing;
    existing.backupFile = file;
    for (const TransferOptions& options : {underAFile, existing}) {
        const BackupResult result = saveHandsetBackup(*book, options);
        EXPECT_FALSE(result.saved);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(QFile(file).size(), 0);
}

// Writes started at the same second from one folder (two handsets on two ports) each get a file
// of their own: the name is taken in the same step that makes the file.
TEST(HandsetBackup, BackupsSavedAtOnceNeverShareAName)
{
    const QDateTime at(QDate(2026, 3, 4), QTime(5, 6, 7));
    const auto book = twoEntries();
    constexpr int writers = 6;
    for (int round = 0; round < 8; ++round) {
        QTemporaryDir dir;
        TransferOptions options;
        options.backupDir = dir.filePath(QStringLiteral("backup"));
        std::vector<BackupResult> results(writers);
        std::vector<std::thread> threads;
        for (int i = 0; i < writers; ++i)
            threads.emplace_back([&, i] {
                results[static_cast<std::size_t>(i)] = saveHandsetBackup(*book, options, at);
            });
        for (std::thread& thread : threads)
            thread.join();
        QSet<QString> paths;
        for (const BackupResult& result : results) {
            ASSERT_TRUE(result.saved) << result.error.toStdString();
            paths.insert(result.path);
        }
        EXPECT_EQ(paths.size(), writers) << "round " << round;
        EXPECT_EQ(QDir(options.backupDir).entryList(QDir::Files).size(), writers)
            << "round " << round;
    }
}

} // namespace
