// vemblor-cli emulate, read, write and restore as separate processes over a pseudo-terminal.

#include "device/core/handset_records.h"
#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "tests/device/cli_process.h"
#include "tests/device/every_shape_book.h"
#include "tests/device/handset_record_lines.h"
#include "tests/exchange/scripted_host.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <thread>

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

const char COPY_DONE[] = "電話帳データコピーが正常に終了しました。\n";

// Every field in use, the longest memo and a secret entry, so a field lost on the way shows.
std::unique_ptr<TelBook> sampleBook()
{
    auto book = std::make_unique<TelBook>();
    const EntryFields entries[] = {
        {"山田太郎",
         "ﾔﾏﾀﾞ ﾀﾛｳ",
         {"09012345678", "0312345678"},
         {"taro@example.jp"},
         "大学の同期",
         1},
        {"佐藤花子",
         "ｻﾄｳ ﾊﾅｺ",
         {"0667891234", "0667891235", "07011223344"},
         {"a@example.jp", "b@example.co.jp", "c@example.ne.jp"},
         std::string(100, 'm'),
         9},
        {"表ソ", "ﾋｮｳｿ", {"0451112222"}},
    };
    for (const EntryFields& fields : entries)
        book->entries[book->count++] = makeEntry(fields);
    book->entries[1].secret = 1;
    book->entries[1].tel[0].kind = TEL_OFFICE;
    book->entries[1].tel[1].kind = TEL_FAX;
    book->entries[1].mail[2].kind = MAIL_OFFICE_PC;
    return book;
}

bool sameEntries(const TelBook& a, const TelBook& b)
{
    return a.count == b.count && std::memcmp(a.entries, b.entries, a.count * sizeof(TelEntry)) == 0;
}

TEST(CliHandset, EmulatorPrintsItsDeviceAndEndsCleanlyOnTerminate)
{
    Emulator emulator({QStringLiteral("--model"), QStringLiteral("VN540R")});
    ASSERT_TRUE(emulator.device.startsWith(QLatin1String("/dev/")));
    emulator.process.terminate();
    ASSERT_TRUE(emulator.process.waitForFinished(10000));
    EXPECT_EQ(emulator.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(emulator.process.exitCode(), 0);
}

TEST(CliHandset, ReadRunsTheTransferAndReportsTheHandsetsMessages)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    {
        Emulator emulator({});
        ASSERT_FALSE(emulator.device.isEmpty());
        const Result empty =
            runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
        EXPECT_EQ(empty.status, 1);
        EXPECT_EQ(empty.out, QStringLiteral("電話帳登録件数が０件です\n"));
    }
    {
        Emulator emulator({QStringLiteral("--fail"), QStringLiteral("identify")});
        const Result other =
            runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
        EXPECT_EQ(other.status, 1);
        EXPECT_EQ(other.out,
                  QStringLiteral("ＱＶＲ製端末ではないため電話帳データコピーができません。\n"));
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliHandset, ReadSavesTheBookTheEmulatorWasGiven)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    const auto book = sampleBook();
    writeBook(in, *book);

    Emulator emulator({QStringLiteral("--book"), in});
    ASSERT_FALSE(emulator.device.isEmpty());
    const Result read =
        runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
    EXPECT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, utf8(COPY_DONE));
    EXPECT_TRUE(sameEntries(*readBook(out), *book));

    // A copy that cannot be saved is a failure that says why, after the transfer.
    const Result unsaved = runCli({QStringLiteral("read"), QStringLiteral("--port"),
                                   emulator.device, dir.filePath(QStringLiteral("no/out.vcf"))});
    EXPECT_EQ(unsaved.status, 1);
    EXPECT_EQ(unsaved.out, utf8(COPY_DONE));
    EXPECT_EQ(unsaved.err, utf8("パスが見つかりません。\n"));
}

TEST(CliHandset, WrittenBookArrivesInTheEmulatorsDump)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    const QString dump = dir.filePath(QStringLiteral("dump.vcf"));
    const auto book = sampleBook();
    writeBook(in, *book);

    Emulator emulator({QStringLiteral("--dump"), dump});
    ASSERT_FALSE(emulator.device.isEmpty());
    const Result write = runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device,
                                 in, QStringLiteral("--yes"), QStringLiteral("--no-verify")},
                                dir.path());
    EXPECT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_TRUE(write.out.endsWith(utf8(COPY_DONE))) << write.out.toStdString();
    EXPECT_FALSE(QFile::exists(dump)); // written when the emulator ends
    emulator.process.terminate();
    ASSERT_TRUE(emulator.process.waitForFinished(10000));
    EXPECT_EQ(emulator.process.exitCode(), 0);
    EXPECT_TRUE(sameEntries(*readBook(dump), *book));
}

// By default a write keeps the handset's book under backup/ of the working directory, says
// where, and checks what it wrote; the emulator serves what was written to a later read.
TEST(CliHandset, WriteBacksUpAndChecksAndTheEmulatorServesWhatWasWritten)
{
    QTemporaryDir dir;
    const QString previousFile = dir.filePath(QStringLiteral("previous.vcf"));
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    auto previous = std::make_unique<TelBook>();
    previous->entries[previous->count++] = makeEntry({"前", "ﾏｴ", {"0111"}});
    writeBook(previousFile, *previous);
    const auto book = sampleBook();
    writeBook(in, *book);

    Emulator emulator({QStringLiteral("--book"), previousFile});
    ASSERT_FALSE(emulator.device.isEmpty());
    const Result write = runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device,
                                 in, QStringLiteral("--yes"), QStringLiteral("--fast")},
                                dir.path());
    EXPECT_EQ(write.status, 0) << write.err.toStdString();
    const QStringList lines = write.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    ASSERT_TRUE(lines[0].startsWith(utf8("バックアップ: ") +
                                    dir.filePath(QStringLiteral("backup/handset-"))))
        << lines[0].toStdString();
    const QString backup = lines[0].mid(utf8("バックアップ: ").size());
    EXPECT_TRUE(sameEntries(*readBook(backup), *previous));
    EXPECT_TRUE(write.out.endsWith(utf8("書き込んだとおりであることを確認しました。\n")))
        << write.out.toStdString();

    const Result read = runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device,
                                out, QStringLiteral("--fast")});
    EXPECT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_TRUE(sameEntries(*readBook(out), *book));
}

TEST(CliHandset, BackupGoesToTheFileNamedOrNowhere)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    const QString named = dir.filePath(QStringLiteral("before.vcf"));
    writeBook(in, *sampleBook());
    Emulator emulator({QStringLiteral("--book"), in});
    const Result toFile =
        runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device, in,
                QStringLiteral("--yes"), QStringLiteral("--backup"), named},
               dir.path());
    EXPECT_EQ(toFile.status, 0) << toFile.out.toStdString();
    EXPECT_TRUE(toFile.out.startsWith(utf8("バックアップ: ") + named + QLatin1Char('\n')));
    EXPECT_TRUE(sameEntries(*readBook(named), *sampleBook()));
    const Result none = runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device,
                                in, QStringLiteral("--yes"), QStringLiteral("--no-backup")},
                               dir.path());
    EXPECT_EQ(none.status, 0);
    EXPECT_FALSE(none.out.contains(utf8("バックアップ")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("backup"))));
}

TEST(CliHandset, CorruptedWriteFailsTheCheckAndNamesEntryAndField)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    writeBook(in, *sampleBook());
    Emulator emulator({QStringLiteral("--corrupt"), QStringLiteral("2")});
    const Result write = runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device,
                                 in, QStringLiteral("--yes"), QStringLiteral("--no-backup")});
    EXPECT_EQ(write.status, 1);
    EXPECT_TRUE(write.out.contains(utf8("0002件目「佐藤花子」: 名前\n")))
        << write.out.toStdString();
}

// The write went through but the check could not run (the handset refuses ATI3 the second time):
// the message says the book was written and not checked, and the status is 4.
TEST(CliHandset, WriteThatCouldNotBeCheckedSaysSoAndExitsWithFour)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    writeBook(in, *sampleBook());
    Emulator emulator({QStringLiteral("--fail"), QStringLiteral("identify:2")});
    const Result write = runCli({QStringLiteral("write"), QStringLiteral("--port"), emulator.device,
                                 in, QStringLiteral("--yes"), QStringLiteral("--no-backup")});
    EXPECT_EQ(write.status, 4) << write.out.toStdString();
    EXPECT_TRUE(
        write.out.contains(utf8("電話帳の書き込みは終わりましたが、書き込んだ電話帳を読み戻して"
                                "確認することはできませんでした。")))
        << write.out.toStdString();
}

// Ctrl-C, SIGTERM and SIGHUP in the middle of a write stop it as the cancel button does: the
// lines printed so far arrive on the pipe, the stop is reported with what the handset holds,
// and the tool ends on its own with status 1.
TEST(CliHandset, StopSignalsEndAWriteAsTheCancelButtonDoes)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    writeBook(in, *sampleBook());
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        Emulator emulator({QStringLiteral("--silent"), QStringLiteral("write-entry:2")});
        QProcess write;
        write.setWorkingDirectory(dir.path());
        write.start(cli(), {QStringLiteral("write"), QStringLiteral("--port"), emulator.device, in,
                            QStringLiteral("--yes")});
        ASSERT_TRUE(write.waitForStarted(10000));
        QString out;
        for (int wait = 0; wait < 100 && !out.contains(utf8(" はい")); ++wait) {
            write.waitForReadyRead(100);
            out += QString::fromUtf8(write.readAllStandardOutput());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // entry 2 is outstanding
        ::kill(static_cast<pid_t>(write.processId()), signal);
        ASSERT_TRUE(write.waitForFinished(10000)) << signal;
        out += QString::fromUtf8(write.readAllStandardOutput());
        EXPECT_EQ(write.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(write.exitCode(), 1) << signal;
        EXPECT_TRUE(out.contains(utf8("電話帳全件消去します。よろしいですか？"))) << signal;
        EXPECT_TRUE(out.contains(utf8("中断しました。\n携帯電話の電話帳は、書き込む")))
            << signal << ": " << out.toStdString();
    }
}

TEST(CliHandset, BookFileThatCannotBeReadStopsBeforeAnyPortOrPseudoTerminal)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.vcf"));
    const QString empty = dir.filePath(QStringLiteral("empty.vcf"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString broken = utf8("vCardファイルに異常がある為、インポート処理を終了します。\n");
    const QString noCards = utf8("vCardファイルに電話帳のデータがありません。\n");
    const struct {
        QStringList arguments;
        QString err;
    } cases[] = {
        {{QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("/nonexistent/tty"),
          missing, QStringLiteral("--yes")},
         broken},
        {{QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("/nonexistent/tty"),
          empty, QStringLiteral("--yes")},
         noCards},
        {{QStringLiteral("emulate"), QStringLiteral("--book"), missing}, broken},
        {{QStringLiteral("emulate"), QStringLiteral("--book"), empty}, noCards},
    };
    for (const auto& c : cases) {
        const Result result = runCli(c.arguments);
        const std::string name = c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(result.out, QString()) << name; // no port message, no device printed
        EXPECT_EQ(result.err, c.err) << name;
    }
}

TEST(CliHandset, BadUsageExitsWithTwo)
{
    const QStringList cases[] = {
        {QStringLiteral("read"), QStringLiteral("out.vcf")},
        {QStringLiteral("write"), QStringLiteral("--port")},
        {QStringLiteral("emulate"), QStringLiteral("--fail"), QStringLiteral("nowhere")},
        {QStringLiteral("emulate"), QStringLiteral("--silent"), QStringLiteral("erase:0")},
        {QStringLiteral("emulate"), QStringLiteral("--model"), QStringLiteral("ABCDEFGHIJ")},
        {QStringLiteral("emulate"), QStringLiteral("--corrupt"), QStringLiteral("0")},
        {QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("x"),
         QStringLiteral("b.vcf"), QStringLiteral("--backup"), QStringLiteral("f.vcf"),
         QStringLiteral("--no-backup")},
        {QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("x"),
         QStringLiteral("b.vcf"), QStringLiteral("--verify"), QStringLiteral("--no-verify")},
    };
    for (const QStringList& arguments : cases)
        EXPECT_EQ(runCli(arguments).status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
}

TEST(CliHandset, PortThatDoesNotOpenExitsWithOne)
{
    const Result result = runCli({QStringLiteral("read"), QStringLiteral("--port"),
                                  QStringLiteral("/nonexistent/tty"), QStringLiteral("x.vcf")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.startsWith(
        utf8("有効なＣＯＭポートではありません。\n/nonexistent/tty: このデバイスはありません。")))
        << result.out.toStdString();
}

// A settings file too large to be one is not read for the port's device, and the command says
// so; the file stays as it was.
TEST(CliHandset, OversizedSettingsFileIsNamedAndLeftAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("Vemblor.ini"));
    const QByteArray before = "[PORTS]\nCOM50=/nonexistent/mapped\n" + QByteArray(2 << 20, ';');
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    const Result result = runCli({QStringLiteral("read"), QStringLiteral("--port"),
                                  QStringLiteral("COM50"), QStringLiteral("x.vcf")},
                                 dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(utf8("設定ファイル Vemblor.ini が1MBを超えている為")))
        << result.err.toStdString();
    EXPECT_FALSE(result.out.contains(QStringLiteral("/nonexistent/mapped")))
        << result.out.toStdString();
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// Only leaving data-transfer mode failed: the complete copy is saved, with a warning and an
// exit status of its own.
TEST(CliHandset, ReadKeepsACompleteCopyWhenOnlyTheEscapeFails)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.vcf"));
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    const auto book = sampleBook();
    writeBook(in, *book);
    Emulator emulator(
        {QStringLiteral("--book"), in, QStringLiteral("--fail"), QStringLiteral("leave-data")});
    ASSERT_FALSE(emulator.device.isEmpty());
    const Result read =
        runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
    EXPECT_EQ(read.status, 3) << read.err.toStdString();
    EXPECT_EQ(read.out, utf8(COPY_DONE) + utf8("データ転送モードが正常に解除できませんでした。\n"));
    EXPECT_TRUE(read.err.contains(utf8("データ転送モードのまま"))) << read.err.toStdString();
    EXPECT_TRUE(sameEntries(*readBook(out), *book));
}

// The handset's book as the backup of a write finds it: the exact copy beside the backup the
// write printed. A small book is written in its place.
std::unique_ptr<TelBook> handsetBookViaBackup(const QString& device, const QString& workDir)
{
    const QString small = QDir(workDir).filePath(QStringLiteral("small.vcf"));
    auto one = std::make_unique<TelBook>();
    one->entries[one->count++] = makeEntry({"小", "ｼｮｳ", {"1"}});
    writeBook(small, *one);
    const Result write = runCli({QStringLiteral("write"), QStringLiteral("--port"), device, small,
                                 QStringLiteral("--yes"), QStringLiteral("--fast")},
                                workDir);
    EXPECT_EQ(write.status, 0) << write.out.toStdString() << write.err.toStdString();
    const QString first = write.out.section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(first.startsWith(utf8("バックアップ: "))) << write.out.toStdString();
    auto book = std::make_unique<TelBook>();
    QString error;
    EXPECT_TRUE(readRecordsCopyFile(recordsCopyPath(first.mid(utf8("バックアップ: ").size())),
                                    *book, error))
        << error.toStdString();
    return book;
}

QString firstDifference(const TelBook& a, const TelBook& b)
{
    if (a.count != b.count)
        return QStringLiteral("count %1 != %2").arg(a.count).arg(b.count);
    for (std::uint32_t i = 0; i < a.count; ++i)
        if (std::memcmp(&a.entries[i], &b.entries[i], sizeof(TelEntry)) != 0)
            return QStringLiteral("entry %1").arg(i + 1);
    return {};
}

// A full book of every shape goes to the handset from an exact copy, is backed up by the next
// write, and restored from that backup's .vcf (the copy beside it is taken): each time the
// handset holds it entry by entry as it was.
TEST(CliHandset, FullBookSurvivesBackupAndRestoreExactly)
{
    QTemporaryDir dir;
    const auto book = everyShapeBook(static_cast<int>(MAX_TEL_ENTRIES));
    const QString copy = dir.filePath(QStringLiteral("book.records"));
    {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(recordsCopyText(handsetRecords(*book)));
    }
    Emulator emulator({});
    ASSERT_FALSE(emulator.device.isEmpty());
    const Result first =
        runCli({QStringLiteral("restore"), QStringLiteral("--port"), emulator.device, copy,
                QStringLiteral("--yes"), QStringLiteral("--fast")},
               dir.path());
    ASSERT_EQ(first.status, 0) << first.out.toStdString() << first.err.toStdString();
    EXPECT_TRUE(
        first.out.startsWith(utf8("書き戻す電話帳: 1000件（携帯電話から読んだままの写しから）\n")))
        << first.out.toStdString();
    EXPECT_TRUE(first.out.endsWith(utf8("書き込んだとおりであることを確認しました。\n")));
    const auto backedUp = handsetBookViaBackup(emulator.device, dir.path());
    EXPECT_EQ(firstDifference(*backedUp, *book), QString());

    const QStringList backups = QDir(dir.filePath(QStringLiteral("backup")))
                                    .entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    const Result again =
        runCli({QStringLiteral("restore"), QStringLiteral("--port"), emulator.device,
                dir.filePath(QStringLiteral("backup/")) + backups[0], QStringLiteral("--yes"),
                QStringLiteral("--fast")},
               dir.path());
    ASSERT_EQ(again.status, 0) << again.out.toStdString() << again.err.toStdString();
    EXPECT_EQ(firstDifference(*handsetBookViaBackup(emulator.device, dir.path()), *book),
              QString());
}

// A restore reads its file whole before it talks to the handset: what holds no phone book is
// refused with the reason and the handset keeps its book; a .vcf without a copy beside it is
// read as a contacts file.
TEST(CliHandset, RestoreRefusesWhatIsNoPhoneBookAndReadsAPlainVCard)
{
    QTemporaryDir dir;
    const QString previousFile = dir.filePath(QStringLiteral("previous.vcf"));
    auto previous = std::make_unique<TelBook>();
    previous->entries[previous->count++] = makeEntry({"前", "ﾏｴ", {"0111"}});
    writeBook(previousFile, *previous);
    Emulator emulator({QStringLiteral("--book"), previousFile});
    ASSERT_FALSE(emulator.device.isEmpty());

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.records"));
    {
        QFile notes(text);
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("shopping list\nmilk\n");
        QFile cut(damaged);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(recordsCopyText(handsetRecords(*sampleBook())).chopped(30));
    }
    const struct {
        const char* label;
        QString path;
    } refused[] = {
        {"missing", dir.filePath(QStringLiteral("none.vcf"))},
        {"not a phone book", text},
        {"damaged copy", damaged},
    };
    for (const auto& c : refused) {
        const Result restore = runCli({QStringLiteral("restore"), QStringLiteral("--port"),
                                       emulator.device, c.path, QStringLiteral("--yes")},
                                      dir.path());
        EXPECT_EQ(restore.status, 1) << c.label;
        EXPECT_TRUE(restore.out.isEmpty()) << c.label << ": " << restore.out.toStdString();
        EXPECT_TRUE(restore.err.contains(QDir::toNativeSeparators(c.path)))
            << c.label << ": " << restore.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("backup"))));

    const QString plain = dir.filePath(QStringLiteral("plain.vcf"));
    writeBook(plain, *sampleBook());
    const Result restore = runCli({QStringLiteral("restore"), QStringLiteral("--port"),
                                   emulator.device, plain, QStringLiteral("--yes")},
                                  dir.path());
    EXPECT_EQ(restore.status, 0) << restore.out.toStdString() << restore.err.toStdString();
    EXPECT_TRUE(
        restore.out.startsWith(utf8("書き戻す電話帳: 3件（連絡先ファイルとして読み込み）\n")))
        << restore.out.toStdString();
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    const Result read =
        runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
    EXPECT_EQ(read.status, 0);
    EXPECT_EQ(readBook(out)->count, 3u);
    EXPECT_EQ(std::strcmp(readBook(out)->entries[0].name, sampleBook()->entries[0].name), 0);
}

TEST(CliHandset, HelpListsEveryExitStatus)
{
    const Result help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    for (const char* listed :
         {"  0  ", "  1  ", "  2  ", "  3  ", "  4  ", "--backup FILE", "--no-backup", "--verify",
          "--no-verify", "--fast", "--corrupt N", "--hang-up"})
        EXPECT_TRUE(help.out.contains(QLatin1String(listed))) << listed;
}

} // namespace
