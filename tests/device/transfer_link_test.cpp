// The real serial port code against a simulated handset on a pseudo-terminal.

#include "device/core/handset_records.h"
#include "device/core/serial_port.h"
#include "device/core/transfer_runner.h"
#include "device/core/transfer_session.h"
#include "device/emulator/pty_handset.h"
#include "exchange/core/vcard_reader.h"
#include "tests/device/every_shape_book.h"
#include "tests/device/pty_handset_book.h"
#include "tests/device/qt_printers.h"
#include "tests/exchange/scripted_host.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>
#include <iostream>

namespace {

constexpr int FAST_TICK_MS = 20;
const char COPY_DONE[] = "電話帳データコピーが正常に終了しました。";

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// A bare pseudo-terminal whose other side the test reads and writes itself.
struct RawPty {
    RawPty()
    {
        termios raw{};
        cfmakeraw(&raw);
        char name[256] = {};
        EXPECT_EQ(openpty(&master, &slave, name, &raw, nullptr), 0);
        path = QString::fromLocal8Bit(name);
    }
    ~RawPty()
    {
        close(master);
        close(slave);
    }
    QByteArray readAvailable() const
    {
        QByteArray bytes;
        const int flags = fcntl(master, F_GETFL);
        fcntl(master, F_SETFL, flags | O_NONBLOCK);
        char buffer[4096];
        ssize_t n = 0;
        while ((n = read(master, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
        fcntl(master, F_SETFL, flags);
        return bytes;
    }
    void send(const char* bytes) const { ASSERT_GT(write(master, bytes, strlen(bytes)), 0); }

    int master = -1;
    int slave = -1;
    QString path;
};

TEST(SerialPortLine, OpensOnlyADeviceThatExists)
{
    SerialPort port;
    EXPECT_FALSE(port.openPort(QStringLiteral("/nonexistent/ttyS99")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.pollReceive());
    EXPECT_FALSE(port.writeCommand("AT\r\n"));
    RawPty pty;
    ASSERT_TRUE(port.openPort(pty.path));
    EXPECT_TRUE(port.isOpen());
    port.closePort();
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPortLine, SendsCommandsAndCutsRepliesIntoLinesWithoutWaiting)
{
    RawPty pty;
    SerialPort port;
    ASSERT_TRUE(port.openPort(pty.path));
    ASSERT_TRUE(port.writeCommand("ATI3\r\n"));
    EXPECT_EQ(pty.readAvailable(), QByteArray("ATI3\r\n"));

    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(port.pollReceive());
    EXPECT_LT(clock.elapsed(), 50); // nothing there: back at once
    EXPECT_FALSE(port.takeLine());

    pty.send("O");
    QTest::qWait(20);
    ASSERT_TRUE(port.pollReceive());
    EXPECT_FALSE(port.takeLine());
    pty.send("K\r\nQVR\r\n");
    QTest::qWait(20);
    ASSERT_TRUE(port.pollReceive());
    EXPECT_EQ(port.takeLine(), QByteArray("OK"));
    EXPECT_EQ(port.takeLine(), QByteArray("QVR"));
    EXPECT_FALSE(port.takeLine());
}

TEST(SerialPortLine, ShortWriteIsRetriedOnceOnAReopenedPort)
{
    RawPty pty;
    SerialPort port;
    port.setWriteTimeout(100, 0);
    ASSERT_TRUE(port.openPort(pty.path));
    // Nobody reads the other side, so the line takes only part of this.
    const QByteArray big(64 * 1024, 'x');
    EXPECT_FALSE(port.writeOnce(big));
    EXPECT_TRUE(port.writeCommand(big));
    EXPECT_TRUE(port.isOpen()); // the second attempt counts, on the reopened port
    pty.readAvailable();
    EXPECT_TRUE(port.writeCommand("AT\r\n"));
}

// A write the system refuses (the line is gone) fails at once: the port is not opened again for
// a second attempt that would count as sent. The device is reached through a link that, like a
// name the system gives a plugged-in adapter, may lead to another line by the time of a reopen.
TEST(SerialPortLine, RefusedWriteFailsWithoutReopeningThePort)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyLINK"));
    auto gone = std::make_unique<RawPty>();
    ASSERT_TRUE(QFile::link(gone->path, link));
    SerialPort port;
    ASSERT_TRUE(port.openPort(link));
    gone.reset(); // the other side hangs up: every write is refused from now on
    RawPty next;
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(next.path, link));

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(port.writeCommand("AT\r\n"));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(port.isOpen());
    QTest::qWait(20);
    EXPECT_EQ(next.readAvailable(), QByteArray()); // nothing was sent on a reopened port
}

// Why a port did not open, with the device tried, for each reason a user can act on.
TEST(SerialPortLine, PortThatDoesNotOpenSaysWhy)
{
    const QString head = utf8("有効なＣＯＭポートではありません。\n");
    SerialPort missing;
    EXPECT_FALSE(missing.openPort(QStringLiteral("/nonexistent/ttyS99")));
    EXPECT_EQ(missing.openFailure(), PortFailure::NoSuchDevice);
    EXPECT_TRUE(
        missing.openFailureMessage().startsWith(head + QStringLiteral("/nonexistent/ttyS99: ")));

    RawPty pty;
    SerialPort first;
    ASSERT_TRUE(first.openPort(pty.path));
    SerialPort second;
    EXPECT_FALSE(second.openPort(pty.path));
    EXPECT_EQ(second.openFailure(), PortFailure::Busy) << second.openFailureText().toStdString();

    const struct {
        PortFailure failure;
        const char* says;
    } reasons[] = {
        {PortFailure::NoSuchDevice, "このデバイスはありません。"},
        {PortFailure::PermissionDenied, "dialout"},
        {PortFailure::Busy, "ほかのプログラムがこのデバイスを使っています。"},
        {PortFailure::Other, "（Input/output error）"},
    };
    for (const auto& reason : reasons) {
        const QString text = portOpenMessage(QStringLiteral("/dev/ttyUSB0"), reason.failure,
                                             QStringLiteral("Input/output error"));
        EXPECT_TRUE(text.startsWith(head + QStringLiteral("/dev/ttyUSB0: "))) << text.toStdString();
        EXPECT_TRUE(text.contains(utf8(reason.says))) << text.toStdString();
    }
}

// At most one tick waits for a window thread that is busy for a while; the rest are not posted,
// so they cannot be handled back to back afterwards.
TEST(TickPace, BusyTargetFindsOneTickWaitingNotABurst)
{
    struct Counter : QObject {
        bool event(QEvent* event) override
        {
            if (event->type() != TRANSFER_TICK_EVENT)
                return QObject::event(event);
            ++ticks;
            return true;
        }
        int ticks = 0;
    } counter;
    TickSource source;
    ASSERT_TRUE(source.startTick(10));
    source.setPostTarget(&counter);
    QThread::msleep(300); // thirty intervals with the window thread blocked
    QCoreApplication::sendPostedEvents(&counter, TRANSFER_TICK_EVENT);
    EXPECT_EQ(counter.ticks, 1);
    QTest::qWait(200);
    EXPECT_GE(counter.ticks, 5); // and the ticks go on at their pace
    source.stopTick();
}

TEST(SerialPortLine, ResetDropsReceivedBytesButNotThoseStillInTheSystem)
{
    RawPty pty;
    SerialPort port;
    ASSERT_TRUE(port.openPort(pty.path));
    pty.send("OLD\r\n");
    QTest::qWait(20);
    ASSERT_TRUE(port.pollReceive());
    port.resetReceive();
    EXPECT_FALSE(port.takeLine());
    pty.send("NEW\r\n");
    QTest::qWait(20);
    port.resetReceive();
    ASSERT_TRUE(port.pollReceive());
    EXPECT_EQ(port.takeLine(), QByteArray("NEW"));
}

class HandsetLink : public testing::Test {
protected:
    // The book a write sends.
    std::unique_ptr<TelBook> bookStore = std::make_unique<TelBook>();
    TelBook& book = *bookStore;

    void fillBook(std::initializer_list<EntryFields> entries)
    {
        clearBook(book);
        for (const EntryFields& fields : entries)
            book.entries[book.count++] = makeEntry(fields);
    }

    static std::vector<TelEntry> sampleEntries()
    {
        const std::string digits(32, '7');
        TelEntry big =
            makeEntry({std::string(32, 'N'),
                       std::string(32, 'F'),
                       {digits, digits, digits},
                       {std::string(64, 'a'), std::string(64, 'b'), std::string(64, 'c')},
                       std::string(100, 'm'),
                       31});
        big.secret = 1;
        big.tel[0].kind = TEL_OFFICE;
        big.tel[1].kind = TEL_FAX;
        big.mail[1].kind = MAIL_OFFICE_PC;
        return {makeEntry({"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}, {"taro@example.jp"}, "メモ", 3}),
                big, makeEntry({"表ソ", "ﾋｮｳｿ", {"09011112222", "#31*"}}),
                makeEntry({"", "ﾅﾏｴﾅｼ"})};
    }
    void fillBookWith(const std::vector<TelEntry>& entries)
    {
        clearBook(book);
        for (const TelEntry& entry : entries)
            book.entries[book.count++] = entry;
    }
    static bool sameEntries(const TelEntry* a, const TelEntry* b, std::size_t count)
    {
        return std::memcmp(a, b, count * sizeof(TelEntry)) == 0;
    }
};

TEST_F(HandsetLink, WriteArrivesDecodedExactly)
{
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    const std::vector<TelEntry> entries = sampleEntries();
    fillBookWith(entries);
    TransferRunner runner(OP_DEVICE_WRITE, true, plainTransfer(), &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.messages(), QStringList{utf8(COPY_DONE)});
    EXPECT_TRUE(runner.succeeded());
    EXPECT_EQ(runner.progress().size(), 4 + 2); // the big entry takes three frames
    handset.withHandset([&](SimulatedHandset& h) {
        ASSERT_EQ(h.entries().size(), entries.size());
        EXPECT_TRUE(sameEntries(h.entries().data(), entries.data(), entries.size()));
        EXPECT_FALSE(h.inDataMode());
    });
}

TEST_F(HandsetLink, ReadBringsTheHandsetsBookIntoTheStore)
{
    HandsetOptions options;
    options.model = "VN540R";
    PtyHandset handset(options);
    ASSERT_TRUE(handset.start());
    const std::vector<TelEntry> entries = sampleEntries();
    handset.withHandset([&](SimulatedHandset& h) { h.entries() = entries; });
    fillBook({{"old"}});
    TransferRunner runner(OP_DEVICE_READ, false);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.messages(), QStringList{utf8(COPY_DONE)});
    EXPECT_TRUE(runner.questions().isEmpty());
    const std::unique_ptr<TelBook> read = runner.takeReadBook();
    ASSERT_TRUE(read);
    ASSERT_EQ(read->count, entries.size());
    EXPECT_TRUE(sameEntries(read->entries, entries.data(), entries.size()));
}

TEST_F(HandsetLink, HandsetFailingInTheMiddleOfAWriteEndsThroughTheEscape)
{
    HandsetOptions options;
    options.failAt = {HandsetStep::WriteEntry, 2};
    PtyHandset handset(options);
    ASSERT_TRUE(handset.start());
    fillBook({{"A"}, {"B"}, {"C"}});
    TransferRunner runner(OP_DEVICE_WRITE, true, plainTransfer(), &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.messages(),
              QStringList{utf8("電話帳データコピーが正常に行われませんでした。")});
    EXPECT_FALSE(runner.succeeded());
    handset.withHandset([&](SimulatedHandset& h) {
        EXPECT_EQ(h.entries().size(), 1u);
        EXPECT_EQ(h.commands().last(), QByteArray("+++"));
        EXPECT_FALSE(h.inDataMode());
    });
}

// A port where nothing answers even "AT": the message names the device and says what to check.
TEST_F(HandsetLink, NoHandsetNamesThePortAndWhatToCheck)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::Attention, 1};
    PtyHandset handset(options);
    ASSERT_TRUE(handset.start());
    TransferRunner runner(OP_DEVICE_READ, true, plainTransfer());
    ASSERT_TRUE(runner.run(handset.devicePath(), 5));
    ASSERT_EQ(runner.messages().size(), 1);
    const QString message = runner.messages().first();
    EXPECT_TRUE(message.startsWith(handset.devicePath() + utf8(" に"))) << message.toStdString();
    for (const char* check : {"ケーブル", "電源", "待受画面"})
        EXPECT_TRUE(message.contains(utf8(check))) << check;
    EXPECT_EQ(runner.outcome(), TransferOutcome::Failed);
}

// With the window thread blocked for a second (a slow write) the no-reply allowance is not used
// up in a burst: the ticks after it come at their pace, one at a time.
TEST_F(HandsetLink, HandsetThatStopsAnsweringEndsWithNoReply)
{
    for (bool blocked : {false, true}) {
        HandsetOptions options;
        options.silentFrom = {HandsetStep::Identify, 1};
        PtyHandset handset(options);
        ASSERT_TRUE(handset.start());
        fillBook({{"A"}});
        TransferRunner runner(OP_DEVICE_WRITE, true, plainTransfer(), &book);
        if (blocked)
            QTimer::singleShot(30, [] { QThread::msleep(1000); });
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(runner.run(handset.devicePath(), 5));
        EXPECT_EQ(runner.messages(), QStringList{utf8("応答がありません。")});
        // "AT" and its reply, "ATI3", then the allowance; a reply that takes longer than a
        // tick to cross the line (a slow machine) adds a tick or two at the start.
        EXPECT_GE(runner.ticks(), 2 + 1 + NO_REPLY_TICK_LIMIT) << blocked;
        EXPECT_LE(runner.ticks(), 2 + 1 + NO_REPLY_TICK_LIMIT + 3) << blocked;
        if (blocked) {
            EXPECT_GE(clock.elapsed(), 1000 + NO_REPLY_TICK_LIMIT * 5 * 8 / 10);
        }
    }
}

TEST_F(HandsetLink, PortThatDoesNotOpenIsReported)
{
    TransferRunner runner(OP_DEVICE_READ, false);
    EXPECT_FALSE(runner.run(QStringLiteral("/nonexistent/ttyS0")));
    ASSERT_EQ(runner.messages().size(), 1);
    EXPECT_TRUE(runner.messages()[0].startsWith(
        utf8("有効なＣＯＭポートではありません。\n/nonexistent/ttyS0: ")));
}

struct HangUpCase {
    OperationCode operation;
    HandsetStep step;
    const char* message;
};

// The adapter pulled out in the middle of a transfer: one message says so, and after a write
// has begun, that the handset's book may be incomplete.
TEST_F(HandsetLink, LineCutInTheMiddleIsReported)
{
    const HangUpCase cases[] = {
        {OP_DEVICE_READ, HandsetStep::ReadEntry,
         "携帯電話との通信が途切れました。ケーブルの接続を確かめてください。"},
        {OP_DEVICE_WRITE, HandsetStep::Identify,
         "携帯電話との通信が途切れました。ケーブルの接続を確かめてください。"},
        {OP_DEVICE_WRITE, HandsetStep::WriteEntry,
         "携帯電話との通信が途切れました。携帯電話の電話帳は消去されたか、途中までしか書き込まれて"
         "いない可能性があります。ケーブルの接続を確かめて、もう一度書き込んでください。"},
    };
    for (const HangUpCase& c : cases) {
        HandsetOptions options;
        options.hangUpAt = {c.step, 2};
        if (c.step == HandsetStep::Identify)
            options.hangUpAt.occurrence = 1;
        PtyHandset handset(options);
        ASSERT_TRUE(handset.start());
        fillBook({{"A"}, {"B"}, {"C"}});
        handset.withHandset([](SimulatedHandset& h) {
            h.entries() = {makeEntry({"X"}), makeEntry({"Y"}), makeEntry({"Z"})};
        });
        TransferRunner runner(c.operation, true, plainTransfer(), &book);
        ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
        EXPECT_EQ(runner.messages(), QStringList{utf8(c.message)}) << int(c.step);
        EXPECT_FALSE(runner.succeeded());
    }
}

// Ticks per entry at the dialog's own pace: one tick sends a frame, the next takes its reply.
TEST_F(HandsetLink, TwentyEntriesTakeTwoTicksEachBothWays)
{
    std::vector<TelEntry> entries;
    for (int i = 0; i < 20; ++i)
        entries.push_back(makeEntry({"Entry " + std::to_string(i), "ｴﾝﾄﾘ", {"0300000000"}}));
    PtyHandset handset;
    ASSERT_TRUE(handset.start());

    fillBookWith(entries);
    TransferRunner writer(OP_DEVICE_WRITE, true, plainTransfer(), &book);
    ASSERT_TRUE(writer.run(handset.devicePath()));
    ASSERT_TRUE(writer.succeeded());
    ASSERT_EQ(writer.progress().size(), 20);
    const double writeTicks =
        (writer.progress().last().first - writer.progress().first().first) / 19.0;

    TransferRunner reader(OP_DEVICE_READ, false);
    ASSERT_TRUE(reader.run(handset.devicePath()));
    ASSERT_TRUE(reader.succeeded());
    ASSERT_EQ(reader.progress().size(), 20);
    const double readTicks =
        (reader.progress().last().first - reader.progress().first().first) / 19.0;
    const std::unique_ptr<TelBook> read = reader.takeReadBook();
    ASSERT_TRUE(read);
    EXPECT_TRUE(sameEntries(read->entries, entries.data(), entries.size()));

    std::cout << "ticks per entry at " << TICK_INTERVAL_MS << " ms: write " << writeTicks
              << " (whole transfer " << writer.ticks() << "), read " << readTicks
              << " (whole transfer " << reader.ticks() << ")\n";
    RecordProperty("write_ticks_per_entry", std::to_string(writeTicks));
    RecordProperty("read_ticks_per_entry", std::to_string(readTicks));
    EXPECT_EQ(writeTicks, 2.0);
    EXPECT_EQ(readTicks, 2.0);
    // AT, ATI3, AT@S, <1F>, <3:1H> and +++ take two ticks each around the 20 frames.
    EXPECT_EQ(writer.ticks(), 2 * (6 + 20));
    EXPECT_EQ(reader.ticks(), 2 * (5 + 20));
}

// The handset's book before the write: complete entries, so that they import as they are.
std::vector<TelEntry> previousEntries()
{
    return {makeEntry({"甲", "ｺｳ", {"0111"}}), makeEntry({"乙", "ｵﾂ", {}, {"o@example.jp"}, "前"})};
}

QList<QByteArray> commandsOf(PtyHandset& handset)
{
    // A list of its own: a shared one would be read here while the handset's thread appends.
    return handset.withHandset([](SimulatedHandset& h) {
        return QList<QByteArray>(h.commands().cbegin(), h.commands().cend());
    });
}

// The erase question of a write of the given number of entries.
QString eraseQuestion(std::size_t entries)
{
    return QStringLiteral("電話帳全件消去します。よろしいですか？\n%1件を書き込みます。")
        .arg(entries);
}
const char NOTHING_ERASED[] = "携帯電話の電話帳は消去していません。";

TEST_F(HandsetLink, BackupKeepsTheHandsetsBookAndTheCheckPassesOnAGoodWrite)
{
    QTemporaryDir dir;
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    const std::vector<TelEntry> previous = previousEntries();
    handset.withHandset([&](SimulatedHandset& h) { h.entries() = previous; });
    const std::vector<TelEntry> entries = sampleEntries();
    fillBookWith(entries);
    TransferOptions options;
    options.backupDir = dir.filePath(QStringLiteral("backup"));
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));

    EXPECT_EQ(runner.messages(), QStringList{utf8(VERIFIED_MESSAGE)});
    EXPECT_TRUE(runner.succeeded());
    const QStringList files =
        QDir(options.backupDir).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^handset-\\d{8}-\\d{6}\\.vcf$"))
                    .match(files[0])
                    .hasMatch())
        << files[0].toStdString();
    const QString backup = QDir(options.backupDir).filePath(files[0]);
    EXPECT_EQ(runner.questions(),
              QStringList{eraseQuestion(entries.size()) +
                          utf8("\n消去の前に、携帯電話の電話帳を次のファイルに保存しました。\n") +
                          backup});
    auto kept = std::make_unique<TelBook>();
    ScriptedHost fileHost;
    ASSERT_EQ(readVCardFile(backup, *kept, fileHost), FILE_TASK_DONE);
    ASSERT_EQ(kept->count, previous.size());
    EXPECT_TRUE(sameEntries(kept->entries, previous.data(), previous.size()));
    const std::vector<TelEntry> now = entriesOf(handset);
    ASSERT_EQ(now.size(), entries.size());
    EXPECT_TRUE(sameEntries(now.data(), entries.data(), entries.size()));
    EXPECT_EQ(runner.steps(), (QStringList{utf8("バックアップ中"), utf8("バックアップ中（2件）"),
                                           utf8("書き込み中"), utf8("書き込み中（4件）"),
                                           utf8("確認中"), utf8("確認中（4件）")}));
    EXPECT_TRUE(runner.progress().contains(
        {runner.progress().first().first, utf8("バックアップ中 0001件目")}));
}

// Beside the vCard file the backup keeps the records the handset sent: read back, they give the
// book the handset held, also the entries the vCard dialect cannot carry.
TEST_F(HandsetLink, BackupKeepsAnExactCopyOfTheHandsetsRecords)
{
    QTemporaryDir dir;
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    const std::vector<TelEntry> previous = entriesVCardLoses();
    handset.withHandset([&](SimulatedHandset& h) { h.entries() = previous; });
    fillBook({{"A", "ｴｰ", {"1"}}});
    TransferOptions options;
    options.backupDir = dir.filePath(QStringLiteral("backup"));
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.outcome(), TransferOutcome::Verified);

    const QStringList files =
        QDir(options.backupDir).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QString copy = recordsCopyPath(QDir(options.backupDir).filePath(files[0]));
    auto kept = std::make_unique<TelBook>();
    QString error;
    ASSERT_TRUE(readRecordsCopyFile(copy, *kept, error)) << error.toStdString();
    ASSERT_EQ(kept->count, previous.size());
    EXPECT_TRUE(sameEntries(kept->entries, previous.data(), previous.size()));
}

TEST_F(HandsetLink, EmptyHandsetBookGivesNoBackupFile)
{
    QTemporaryDir dir;
    PtyHandset handset;
    ASSERT_TRUE(handset.start());
    fillBook({{"A", "ｴｰ", {"1"}}});
    TransferOptions options;
    options.backupDir = dir.filePath(QStringLiteral("backup"));
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_TRUE(runner.succeeded());
    EXPECT_EQ(runner.questions(),
              QStringList{eraseQuestion(1) +
                          utf8("\n携帯電話の電話帳は空でした（バックアップはありません）。")});
    EXPECT_TRUE(QDir(options.backupDir).entryList(QDir::Files).isEmpty());
}

struct FailedBackupCase {
    const char* label;
    HandsetOptions handset;
    bool unsavable; // the backup folder cannot be made
    bool lineWorks; // "+++" can still reach the handset
};

// A backup that cannot be read or saved erases nothing: the handset keeps its book, is taken
// out of data-transfer mode, and the message says nothing was erased.
TEST_F(HandsetLink, FailedBackupErasesNothing)
{
    const FailedBackupCase cases[] = {
        {"folder cannot be made", {}, true, true},
        {"record refused", {"VN650R", {HandsetStep::ReadEntry, 2}, {}, {}, 0, {}, 0}, false, true},
        {"handset falls silent",
         {"VN650R", {}, {HandsetStep::ReadEntry, 2}, {}, 0, {}, 0},
         false,
         true},
        {"line cut", {"VN650R", {}, {}, {HandsetStep::ReadEntry, 2}, 0, {}, 0}, false, false},
    };
    for (const FailedBackupCase& c : cases) {
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
        PtyHandset handset(c.handset);
        ASSERT_TRUE(handset.start());
        const std::vector<TelEntry> previous = previousEntries();
        handset.withHandset([&](SimulatedHandset& h) { h.entries() = previous; });
        fillBook({{"A", "ｴｰ", {"1"}}});
        TransferOptions options;
        options.backupDir =
            dir.filePath(c.unsavable ? QStringLiteral("file/backup") : QStringLiteral("backup"));
        TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
        ASSERT_TRUE(runner.run(handset.devicePath(), 5));
        EXPECT_FALSE(runner.succeeded()) << c.label;
        EXPECT_TRUE(runner.questions().isEmpty()) << c.label;
        ASSERT_FALSE(runner.messages().isEmpty()) << c.label;
        EXPECT_TRUE(runner.messages().last().endsWith(utf8(NOTHING_ERASED)))
            << c.label << ": " << runner.messages().last().toStdString();
        const std::vector<TelEntry> kept = entriesOf(handset);
        ASSERT_EQ(kept.size(), previous.size()) << c.label;
        EXPECT_TRUE(sameEntries(kept.data(), previous.data(), previous.size())) << c.label;
        const QList<QByteArray> commands = commandsOf(handset);
        EXPECT_FALSE(commands.contains("<3:1H>")) << c.label;
        if (c.lineWorks) {
            EXPECT_EQ(commands.last(), QByteArray("+++")) << c.label;
        }
    }
}

struct UntrustedBackupCase {
    const char* label;
    std::optional<QByteArray> reportedCount;
    int lastRecordAt;
};

// A backup that may not hold the whole book erases nothing: a record stream that ends before
// the count the handset reported, and a count of 0 or no count at all from a handset that holds
// entries (asked for its first record anyway, it sends one).
TEST_F(HandsetLink, BackupThatMayBeIncompleteErasesNothing)
{
    const UntrustedBackupCase cases[] = {
        {"stream ends at 2 of 4", std::nullopt, 2},
        {"count 0", QByteArray("0"), 0},
        {"empty count", QByteArray(""), 0},
    };
    for (const UntrustedBackupCase& c : cases) {
        QTemporaryDir dir;
        HandsetOptions handsetOptions;
        handsetOptions.reportedCount = c.reportedCount;
        handsetOptions.lastRecordAt = c.lastRecordAt;
        PtyHandset handset(handsetOptions);
        ASSERT_TRUE(handset.start());
        std::vector<TelEntry> previous = previousEntries();
        previous.push_back(makeEntry({"丙", "ﾍｲ", {"0333"}}));
        previous.push_back(makeEntry({"丁", "ﾃｲ", {"0444"}}));
        handset.withHandset([&](SimulatedHandset& h) { h.entries() = previous; });
        fillBook({{"A", "ｴｰ", {"1"}}});
        TransferOptions options;
        options.backupDir = dir.filePath(QStringLiteral("backup"));
        TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
        ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
        EXPECT_EQ(runner.outcome(), TransferOutcome::Failed) << c.label;
        EXPECT_TRUE(runner.questions().isEmpty()) << c.label;
        ASSERT_EQ(runner.messages().size(), 1) << c.label;
        EXPECT_TRUE(runner.messages()[0].endsWith(utf8(NOTHING_ERASED)))
            << c.label << ": " << runner.messages()[0].toStdString();
        const QList<QByteArray> commands = commandsOf(handset);
        EXPECT_FALSE(commands.contains("<3:1H>")) << c.label;
        EXPECT_EQ(commands.last(), QByteArray("+++")) << c.label;
        const std::vector<TelEntry> kept = entriesOf(handset);
        ASSERT_EQ(kept.size(), previous.size()) << c.label;
        EXPECT_TRUE(sameEntries(kept.data(), previous.data(), previous.size())) << c.label;
    }
}

// A write that fails after the erase says how much of the book the handset now holds and where
// the book from before the erase is.
TEST_F(HandsetLink, FailureAfterTheEraseSaysHowMuchTheHandsetHoldsAndNamesTheBackup)
{
    QTemporaryDir dir;
    HandsetOptions refusing;
    refusing.failAt = {HandsetStep::WriteEntry, 2};
    PtyHandset handset(refusing);
    ASSERT_TRUE(handset.start());
    handset.withHandset([&](SimulatedHandset& h) { h.entries() = previousEntries(); });
    fillBook({{"A", "ｴｰ", {"1"}}, {"B", "ﾋﾞｰ", {"2"}}, {"C", "ｼｰ", {"3"}}});
    TransferOptions options;
    options.backupDir = dir.filePath(QStringLiteral("backup"));
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.outcome(), TransferOutcome::Failed);
    const QStringList files =
        QDir(options.backupDir).entryList({QStringLiteral("*.vcf")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(runner.messages().size(), 1);
    const QString& message = runner.messages()[0];
    EXPECT_TRUE(
        message.contains(utf8("携帯電話の電話帳は、書き込む3件のうち1件までになっています。")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(QDir(options.backupDir).filePath(files[0])))
        << message.toStdString();
    EXPECT_EQ(entriesOf(handset).size(), 1u);
}

TEST_F(HandsetLink, CheckNamesTheEntryAndFieldOfACorruptedWrite)
{
    HandsetOptions corrupting;
    corrupting.corruptEntry = 2;
    PtyHandset handset(corrupting);
    ASSERT_TRUE(handset.start());
    fillBook({{"山田", "ﾔﾏﾀﾞ", {"1"}}, {"佐藤", "ｻﾄｳ", {"2"}}, {"鈴木", "ｽｽﾞｷ", {"3"}}});
    TransferOptions options = plainTransfer();
    options.verify = true;
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_FALSE(runner.succeeded());
    EXPECT_FALSE(runner.copied());
    ASSERT_EQ(runner.messages().size(), 1);
    const QStringList lines = runner.messages()[0].split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], utf8("0002件目「佐藤」: 名前"));
}

TEST_F(HandsetLink, CheckComparesTheCountTheHandsetReports)
{
    HandsetOptions miscounting;
    miscounting.reportedCount = QByteArray("9");
    PtyHandset handset(miscounting);
    ASSERT_TRUE(handset.start());
    fillBook({{"山田", "ﾔﾏﾀﾞ", {"1"}}, {"佐藤", "ｻﾄｳ", {"2"}}, {"鈴木", "ｽｽﾞｷ", {"3"}}, {"田中"}});
    TransferOptions options = plainTransfer();
    options.verify = true;
    TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
    EXPECT_EQ(runner.outcome(), TransferOutcome::CheckFoundDifferences);
    ASSERT_EQ(runner.messages().size(), 1);
    EXPECT_TRUE(runner.messages()[0].endsWith(
        utf8("携帯電話が答えた件数は 9件、書き込んだ件数は 4件です。")))
        << runner.messages()[0].toStdString();
}

// The fast pace changes only when commands go out: the handset sees the same commands, in the
// same order, with the same bytes, and the copies are the same.
TEST_F(HandsetLink, FastPaceSendsTheSameCommands)
{
    const std::vector<TelEntry> entries = sampleEntries();
    for (OperationCode operation : {OP_DEVICE_WRITE, OP_DEVICE_READ}) {
        QList<QByteArray> logs[2];
        for (bool fast : {false, true}) {
            PtyHandset handset;
            ASSERT_TRUE(handset.start());
            handset.withHandset([&](SimulatedHandset& h) { h.entries() = entries; });
            fillBookWith(operation == OP_DEVICE_WRITE ? entries : std::vector<TelEntry>{});
            TransferOptions options;
            options.backupDir = QDir::tempPath();
            options.backup = false;
            options.fast = fast;
            TransferRunner runner(operation, true, options, &book);
            ASSERT_TRUE(runner.run(handset.devicePath(), FAST_TICK_MS));
            EXPECT_TRUE(runner.succeeded()) << fast;
            // A write sends the book, a read brings it.
            const std::unique_ptr<TelBook> read = runner.takeReadBook();
            const TelBook& copied = operation == OP_DEVICE_WRITE ? book : *read;
            ASSERT_TRUE(operation == OP_DEVICE_WRITE || read);
            ASSERT_EQ(copied.count, entries.size());
            EXPECT_TRUE(sameEntries(copied.entries, entries.data(), entries.size()));
            logs[fast] = commandsOf(handset);
        }
        EXPECT_EQ(logs[0], logs[1]) << int(operation);
        EXPECT_GT(logs[0].size(), 10);
    }
}

// A handset that sends the lines of a reply apart ("QVR ..." now, its "OK" a moment later): the
// reply is taken whole before the next command, at both paces.
TEST_F(HandsetLink, ReplyWhoseLinesArriveApartIsTakenWhole)
{
    const std::vector<TelEntry> entries = sampleEntries();
    for (int gap : {5, 60, 150}) {
        for (bool fast : {true, false}) {
            HandsetOptions handsetOptions;
            handsetOptions.lineGapMs = gap;
            PtyHandset handset(handsetOptions);
            ASSERT_TRUE(handset.start());
            fillBookWith(entries);
            TransferOptions options = plainTransfer();
            options.fast = fast;
            TransferRunner runner(OP_DEVICE_WRITE, true, options, &book);
            ASSERT_TRUE(runner.run(handset.devicePath(), fast ? TICK_INTERVAL_MS : FAST_TICK_MS));
            EXPECT_EQ(runner.outcome(), TransferOutcome::Copied) << gap << " fast " << fast;
            EXPECT_EQ(runner.messages(), QStringList{utf8(COPY_DONE)}) << gap << " fast " << fast;
            EXPECT_EQ(entriesOf(handset).size(), entries.size()) << gap << " fast " << fast;
        }
    }
}

TEST_F(HandsetLink, FastPaceStillTimesOutASilentHandset)
{
    HandsetOptions options;
    options.silentFrom = {HandsetStep::QueryBook, 1};
    PtyHandset handset(options);
    ASSERT_TRUE(handset.start());
    fillBook({{"A"}});
    TransferOptions fast = plainTransfer();
    fast.fast = true;
    TransferRunner runner(OP_DEVICE_WRITE, true, fast, &book);
    ASSERT_TRUE(runner.run(handset.devicePath(), 5));
    // No answer to "<1F>", then none to the "+++" that followed it.
    EXPECT_EQ(runner.messages(), QStringList(2, utf8("応答がありません。")));
    EXPECT_EQ(commandsOf(handset).last(), QByteArray("+++"));
    EXPECT_GE(runner.ticks(), 2 * NO_REPLY_TICK_LIMIT);
}

} // namespace
