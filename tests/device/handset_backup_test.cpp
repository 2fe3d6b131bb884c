// The backup of the handset's book: its file name, a name already taken, a file that cannot be
// written, a file that reads back as the book it keeps, and the exact copy of the handset's
// records beside it, read back before anything may be erased.

#include "device/core/handset_backup.h"
#include "device/core/handset_records.h"
#include "exchange/core/vcard_reader.h"
#include "tests/device/every_shape_book.h"
#include "tests/device/handset_record_lines.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

std::unique_ptr<TelBook> bookOf(const std::vector<TelEntry>& entries)
{
    auto book = std::make_unique<TelBook>();
    for (const TelEntry& entry : entries)
        book->entries[book->count++] = entry;
    return book;
}

bool sameBook(const TelBook& a, const TelBook& b)
{
    return a.count == b.count && std::memcmp(a.entries, b.entries, a.count * sizeof(TelEntry)) == 0;
}

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

    const BackupResult first = saveHandsetBackup(*book, handsetRecords(*book), options, at);
    ASSERT_TRUE(first.saved) << first.error.toStdString();
    EXPECT_EQ(first.path, options.backupDir + QStringLiteral("/handset-20260304-050607.vcf"));
    const BackupResult second = saveHandsetBackup(*book, handsetRecords(*book), options, at);
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
        const BackupResult result = saveHandsetBackup(*book, handsetRecords(*book), options);
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
                results[static_cast<std::size_t>(i)] =
                    saveHandsetBackup(*book, handsetRecords(*book), options, at);
            });
        for (std::thread& thread : threads)
            thread.join();
        QSet<QString> paths;
        for (const BackupResult& result : results) {
            ASSERT_TRUE(result.saved) << result.error.toStdString();
            paths.insert(result.path);
        }
        EXPECT_EQ(paths.size(), writers) << "round " << round;
        for (const char* kind : {"*.vcf", "*.records"})
            EXPECT_EQ(
                QDir(options.backupDir).entryList({QString::fromLatin1(kind)}, QDir::Files).size(),
                writers)
                << "round " << round << " " << kind;
        for (const QString& path : paths)
            EXPECT_TRUE(QFileInfo::exists(recordsCopyPath(path))) << path.toStdString();
    }
}

// Beside the vCard file lies the exact copy: read back, it gives every entry as the handset sent
// it, also those the vCard dialect cannot carry.
TEST(HandsetBackup, ExactCopyBesideTheVCardFileGivesBackEveryEntry)
{
    QTemporaryDir dir;
    TransferOptions options;
    options.backupDir = dir.path();
    const auto book = everyShapeBook(120);
    const BackupResult result = saveHandsetBackup(*book, handsetRecords(*book), options);
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    ASSERT_TRUE(result.path.endsWith(QStringLiteral(".vcf")));
    const QString copy = recordsCopyPath(result.path);
    EXPECT_EQ(copy.chopped(8), result.path.chopped(4));
    auto readBack = std::make_unique<TelBook>();
    QString error;
    ASSERT_TRUE(readRecordsCopyFile(copy, *readBack, error)) << error.toStdString();
    EXPECT_TRUE(sameBook(*readBack, *book));
}

// The named backup's copy takes the name beside it, and neither file replaces one that exists.
TEST(HandsetBackup, NamedBackupRefusesWhenItsCopysNameIsTaken)
{
    QTemporaryDir dir;
    TransferOptions options;
    options.backupFile = dir.filePath(QStringLiteral("keep.vcf"));
    const auto book = twoEntries();
    QFile taken(dir.filePath(QStringLiteral("keep.records")));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    const BackupResult refused = saveHandsetBackup(*book, handsetRecords(*book), options);
    EXPECT_FALSE(refused.saved);
    EXPECT_TRUE(refused.error.contains(QStringLiteral("keep.records")))
        << refused.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(options.backupFile));
    EXPECT_EQ(QFileInfo(taken.fileName()).size(), 0);
}

// Records that do not give back the book read (a changed entry, one missing) are no backup to
// erase after: the result says which entry differs.
TEST(HandsetBackup, CopyThatDoesNotGiveBackTheBookIsNoBackup)
{
    const auto book = bookOf(entriesVCardLoses());
    auto changed = bookOf(entriesVCardLoses());
    changed->entries[4].group = 9;
    auto shorter = bookOf(entriesVCardLoses());
    shorter->entries[--shorter->count] = TelEntry{};
    for (const TelBook* other : {changed.get(), shorter.get()}) {
        QTemporaryDir dir;
        TransferOptions options;
        options.backupDir = dir.path();
        const BackupResult result = saveHandsetBackup(*book, handsetRecords(*other), options);
        EXPECT_FALSE(result.saved);
        EXPECT_TRUE(result.error.contains(QStringLiteral("一致しません")))
            << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(other == changed.get() ? QStringLiteral("5件目")
                                                                 : QStringLiteral("11件目")))
            << result.error.toStdString();
    }
}

TEST(HandsetRecordsCopy, RefusesWhatIsNotAWholeCopy)
{
    const auto book = twoEntries();
    const QByteArray good = recordsCopyText(handsetRecords(*book));
    QList<QByteArray> unended = handsetRecords(*book);
    unended.removeLast();
    const QByteArray oneRecord = handsetRecords(*bookOf({makeEntry({"A", "ｱ", {"1"}})}))[0];
    DeviceRecord record;
    ASSERT_TRUE(parseRecordReply(oneRecord, record));
    record.bytes[RECORD_FLAGS_OFFSET] &= static_cast<std::uint8_t>(~RECORD_LAST);
    const QByteArray notLast = entryFrame(record).chopped(2);
    const struct {
        const char* label;
        QByteArray text;
        const char* why;
    } cases[] = {
        {"empty", "", "写しではありません"},
        {"a vCard file", "BEGIN:VCARD\r\nVERSION:2.1\r\nEND:VCARD\r\n", "写しではありません"},
        {"a line that is no record", good + "OK\r\n", "行目が電話帳のデータではありません"},
        {"a record cut short", recordsCopyText({oneRecord.left(40)}), "2行目"},
        {"no last record", recordsCopyText(unended), "途中で終わっています"},
        {"more than a book holds", recordsCopyText(QList<QByteArray>(1001, notLast)),
         "１０００件を越えています"},
    };
    for (const auto& c : cases) {
        auto read = bookOf({makeEntry({"前", "ﾏｴ"})});
        QString error;
        EXPECT_FALSE(readRecordsCopy(c.text, *read, error)) << c.label;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.why)))
            << c.label << ": " << error.toStdString();
        EXPECT_EQ(read->count, 1u) << c.label;
    }
    auto read = std::make_unique<TelBook>();
    QString error;
    ASSERT_TRUE(readRecordsCopy(good, *read, error)) << error.toStdString();
    EXPECT_TRUE(sameBook(*read, *book));
}

} // namespace
