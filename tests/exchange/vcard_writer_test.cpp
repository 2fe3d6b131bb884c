#include "exchange/core/save_sink.h"
#include "exchange/core/text_conversions.h"
#include "exchange/core/vcard_writer.h"
#include "tests/exchange/fault_sink.h"
#include "tests/exchange/fixed_clock.h"
#include "tests/exchange/scripted_host.h"
#include "tests/support/book_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>

namespace {

class FixedClock final : public LocalClock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 1, 15), QTime(9, 30, 0)); }
};

const QString SAVE_QUESTION = QStringLiteral("保存処理を中止しますか？");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray cp932(const char* utf8)
{
    return toCp932(QString::fromUtf8(utf8)).value_or(QByteArray());
}

TelEntry exampleEntry()
{
    TelEntry entry = makeEntry({"見本太郎",
                                "ﾐﾎﾝﾀﾛｳ",
                                {"09012345678", "0312345678"},
                                {},
                                "毎週月曜日の午前１０時から第二会議室で定例会議",
                                1});
    entry.tel[0].kind = TEL_MOBILE;
    entry.mail[2].kind = MAIL_OFFICE_PC;
    return entry;
}

// The card lines between VERSION and REV, as text.
QList<QByteArray> bodyLines(const TelEntry& entry)
{
    QList<QByteArray> lines = vcardCard(entry, "REV:x").split('\n');
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines.mid(2, lines.size() - 5);
}

class VCardWriter : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    std::unique_ptr<TelBook> book = std::make_unique<TelBook>();
    QTemporaryDir dir;
    ScriptedHost host;
    FixedClock clock;
};

TEST_F(VCardWriter, WritesTheWorkedExampleByteForByte)
{
    book->entries[0] = exampleEntry();
    book->count = 1;
    const QString bookPath = path("book.vcf");
    ASSERT_EQ(writeVCardFile(bookPath, *book, host, clock), FILE_TASK_DONE);
    const QByteArray expected =
        readAll(QStringLiteral(VEMBLOR_TEST_DATA "/vcard/writer-example.vcf"));
    ASSERT_EQ(expected.size(), 454);
    EXPECT_EQ(readAll(bookPath), expected);
    EXPECT_EQ(host.polls, 2); // once per entry in each phase
    EXPECT_TRUE(host.shown.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("book.vcf")});
}

TEST_F(VCardWriter, AnEmptyEntryStillGetsEveryLine)
{
    const QList<QByteArray> expected = {"N;CHARSET=SHIFT_JIS:;;;;",
                                        "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:;;;;",
                                        "X-GNO:0",
                                        "TEL;PREF;VOICE:",
                                        "TEL;VOICE:",
                                        "TEL;VOICE:",
                                        "EMAIL;PREF;INTERNET:",
                                        "EMAIL;INTERNET:",
                                        "EMAIL;INTERNET:",
                                        "X-CLASS:PUBLIC",
                                        "NOTE:"};
    EXPECT_EQ(bodyLines(TelEntry{}), expected);
    const QByteArray card = vcardCard(TelEntry{}, "REV:20240115T093000Z");
    EXPECT_TRUE(card.startsWith("BEGIN:VCARD\r\nVERSION:2.1\r\n"));
    EXPECT_TRUE(card.endsWith("\r\nREV:20240115T093000Z\r\nEND:VCARD\r\n"));
    EXPECT_EQ(card.count('\n'), 15);
    EXPECT_EQ(card.count('\r'), 15);
}

TEST_F(VCardWriter, KindsAndFlagsOutsideTheirCodesFallBackToTheDefaults)
{
    TelEntry entry{};
    const std::uint8_t telKinds[] = {TEL_PHS, TEL_OFFICE, 7};
    for (int s = 0; s < 3; ++s)
        entry.tel[s].kind = telKinds[s];
    entry.mail[0].kind = 2;
    entry.mail[1].kind = 3;
    entry.mail[2].kind = MAIL_OFFICE_PC;
    entry.secret = 2;
    entry.group = 255;
    QList<QByteArray> lines = bodyLines(entry);
    EXPECT_EQ(lines[2], "X-GNO:255");
    EXPECT_EQ(lines.mid(3, 6),
              (QList<QByteArray>{"TEL;PREF;PCS:", "TEL;WORK:", "TEL;VOICE:", "EMAIL;PREF;INTERNET:",
                                 "EMAIL;INTERNET:", "EMAIL;WORK:"}));
    EXPECT_EQ(lines[9], "X-CLASS:PUBLIC");
    entry.secret = 1;
    entry.tel[0].kind = TEL_FAX;
    lines = bodyLines(entry);
    EXPECT_EQ(lines[3], "TEL;PREF;FAX:");
    EXPECT_EQ(lines[9], "X-CLASS:PRIVATE");
}

TEST_F(VCardWriter, MemoLinesAreCutWithoutSplittingAnEscape)
{
    const QByteArray header = "NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:";
    // 68 encoded characters: one line.
    std::vector<QByteArray> lines = vcardMemoLines(QByteArray(68, 'a'));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 117);
    // 69: a full piece with its soft break and an empty last line.
    lines = vcardMemoLines(QByteArray(69, 'a'));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], header + QByteArray(69, 'a') + '=');
    EXPECT_EQ(lines[1], QByteArray());
    // Only escapes (trail bytes 0x80 and above): pieces of 69, cut where an escape starts.
    const QByteArray kana = cp932("ああああああああああああああああああああああああああああああああ"
                                  "ああああああああああああああああああ");
    ASSERT_EQ(kana.size(), 100);
    lines = vcardMemoLines(kana);
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i].size() - (i == 0 ? header.size() : 0), 70) << i;
    EXPECT_EQ(lines[4].size(), 300 - 4 * 69);
    // An escape that would reach past position 68 moves to the next line whole.
    lines = vcardMemoLines(QByteArray(67, 'a') + "\xFF" + QByteArray(10, 'b'));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], header + QByteArray(67, 'a') + '=');
    EXPECT_EQ(lines[1], "=FF" + QByteArray(10, 'b'));
    // "=" and the tab.
    lines = vcardMemoLines("a=b\tc");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], header + "a=3Db\tc");
}

TEST_F(VCardWriter, MemoPiecesAreAlwaysSixtySevenToSixtyNineCharacters)
{
    // Every mix of literals and escapes at every offset.
    for (int literals = 0; literals < 80; ++literals) {
        const QByteArray memo = QByteArray(literals % 7, 'x') + cp932("表") +
                                QByteArray(literals, 'y') + "\x81\x81\x81\x81";
        const std::vector<QByteArray> lines = vcardMemoLines(memo);
        QByteArray joined;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            QByteArray piece = lines[i];
            if (i == 0)
                piece.remove(0, 49);
            if (i + 1 < lines.size()) {
                ASSERT_TRUE(piece.endsWith('='));
                piece.chop(1);
                EXPECT_GE(piece.size(), 67);
                EXPECT_LE(piece.size(), 69);
                const qsizetype lastEscape = piece.lastIndexOf('=');
                EXPECT_TRUE(lastEscape < 0 || lastEscape + 3 <= piece.size()) << literals;
            } else {
                EXPECT_LT(piece.size(), 69);
            }
            joined += piece;
        }
        char expected[QP_ENCODED_SIZE] = {};
        encodeQuotedPrintable(memo.constData(), expected);
        EXPECT_EQ(joined, QByteArray(expected));
    }
}

TEST_F(VCardWriter, NoPathDoesNothing)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}});
    EXPECT_EQ(writeVCardFile(QString(), *book, host, clock), FILE_TASK_NOTHING);
    EXPECT_EQ(host.polls, 0);
}

TEST_F(VCardWriter, AnEmptyBookMakesAnEmptyFile)
{
    const QString bookPath = path("empty.vcf");
    EXPECT_EQ(writeVCardFile(bookPath, *book, host, clock), FILE_TASK_DONE);
    EXPECT_EQ(readAll(bookPath), QByteArray());
}

TEST_F(VCardWriter, CancelInEitherPhaseLeavesTheOldFileAsItWas)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}, {"佐藤", "ｻﾄｳ"}, {"鈴木", "ｽｽﾞｷ"}});
    const QString bookPath = path("book.vcf");
    const QByteArray old = "the book saved yesterday\r\n";
    {
        QFile file(bookPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    struct Case {
        int poll; // 0-2 build phase, 3-5 write phase
    };
    for (const Case c : {Case{0}, Case{2}, Case{3}, Case{5}}) {
        ScriptedHost stopping;
        stopping.cancelAtPolls = {c.poll};
        stopping.answers = {true};
        EXPECT_EQ(writeVCardFile(bookPath, *book, stopping, clock), FILE_TASK_ENDED) << c.poll;
        EXPECT_EQ(stopping.polls, c.poll + 1);
        EXPECT_EQ(stopping.questions, QStringList{SAVE_QUESTION});
        EXPECT_EQ(readAll(bookPath), old) << c.poll;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("book.vcf")});
    }
}

TEST_F(VCardWriter, CancelAnsweredNoGoesOnWithoutAskingAgain)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}, {"佐藤", "ｻﾄｳ"}});
    const QString bookPath = path("book.vcf");
    host.cancelAtPolls = {0, 3};
    host.answers = {false, false};
    EXPECT_EQ(writeVCardFile(bookPath, *book, host, clock), FILE_TASK_DONE);
    EXPECT_EQ(host.questions.size(), 2);
    EXPECT_EQ(readAll(bookPath).count("BEGIN:VCARD"), 2);
}

TEST_F(VCardWriter, AFailedWriteShowsItsReasonAndDropsTheNewFile)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}, {"佐藤", "ｻﾄｳ"}});
    const std::pair<int, const char*> cases[] = {
        {ENOSPC, "保存先のディスク容量がいっぱいです。"},
        {ENOENT, "パスが見つかりません。"},
        {EROFS, "保存先のディスクが書き込み禁止になっています。"},
        {ENXIO, "保存先のディスクが入っていません。"},
        {EMEDIUMTYPE, "保存先のディスクがFormatされていません。"},
        {EIO, "その他のエラーが発生しました。"},
        {0, "その他のエラーが発生しました。"},
    };
    const qsizetype firstCard = vcardCard(book->entries[0], "REV:20240115T093000Z").size();
    for (const auto& [error, message] : cases) {
        ScriptedHost failing;
        FaultSink sink;
        sink.failAfterBytes = firstCard + 10; // inside the second card
        sink.errorNumber = error;
        EXPECT_EQ(writeVCard(*book, sink, failing, clock.now()), FILE_TASK_ENDED);
        EXPECT_EQ(failing.shown, QStringList{QString::fromUtf8(message)});
        EXPECT_EQ(sink.written.size(), firstCard + 10);
        EXPECT_TRUE(sink.discarded);
        EXPECT_FALSE(sink.committed);
    }
}

TEST_F(VCardWriter, AFailedCommitShowsItsReasonToo)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}});
    FaultSink sink;
    sink.failCommit = true;
    sink.errorNumber = ENOSPC;
    EXPECT_EQ(writeVCard(*book, sink, host, clock.now()), FILE_TASK_ENDED);
    EXPECT_EQ(host.shown, QStringList{QStringLiteral("保存先のディスク容量がいっぱいです。")});
    EXPECT_TRUE(sink.discarded);
}

// A file that cannot be created names its reason when the system gives one (a missing folder,
// a path through a file, a read-only disk); without one the caller's own message stands.
TEST_F(VCardWriter, AFileThatCannotBeCreatedNamesItsReasonWhenThereIsOne)
{
    book = makeBook({{"山田", "ﾔﾏﾀﾞ"}});
    {
        QFile plain(path("plain"));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    }
    for (const char* target : {"no-such-folder/book.vcf", "plain/book.vcf"}) {
        ScriptedHost created;
        EXPECT_EQ(writeVCardFile(path(target), *book, created, clock), FILE_TASK_ENDED) << target;
        EXPECT_EQ(created.shown, QStringList{QStringLiteral("パスが見つかりません。")}) << target;
        EXPECT_EQ(created.polls, 1) << target; // the build phase ran
    }
    const struct {
        int error;
        int result;
        QStringList shown;
    } cases[] = {
        {EROFS,
         FILE_TASK_ENDED,
         {QStringLiteral("保存先のディスクが書き込み禁止になっています。")}},
        {EACCES,
         FILE_TASK_ENDED,
         {QStringLiteral("保存先のディスクが書き込み禁止になっています。")}},
        {0, FILE_TASK_FAILED, {}},
        {EIO, FILE_TASK_FAILED, {}},
    };
    for (const auto& c : cases) {
        ScriptedHost opened;
        FaultSink sink;
        sink.failOpen = true;
        sink.errorNumber = c.error;
        EXPECT_EQ(writeVCard(*book, sink, opened, clock.now()), c.result) << c.error;
        EXPECT_EQ(opened.shown, c.shown) << c.error;
        EXPECT_FALSE(sink.committed);
    }
}

TEST_F(VCardWriter, ARealWriteErrorReachesTheUserAndTheOldFileSurvives)
{
    // A file size limit makes the system refuse the write with EFBIG, like a full disk.
    book = makeBook({{"山田", "ﾔﾏﾀﾞ", {"0312345678"}, {}, "メモ"}, {"佐藤", "ｻﾄｳ"}});
    const QString bookPath = path("book.vcf");
    const QByteArray old(100, 'o');
    {
        QFile file(bookPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = writeVCardFile(bookPath, *book, host, clock);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, FILE_TASK_ENDED);
    EXPECT_EQ(host.shown, QStringList{QStringLiteral("保存先のディスク容量がいっぱいです。")});
    EXPECT_EQ(readAll(bookPath), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("book.vcf")});
}

// A full book goes out in a few large writes, while the user can still stop it before any card.
TEST_F(VCardWriter, AFullBookIsWrittenInFewBlocksAndPolledBeforeEachCard)
{
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i)
        book->entries[i] = exampleEntry();
    book->count = MAX_TEL_ENTRIES;
    FaultSink sink;
    ASSERT_EQ(writeVCard(*book, sink, host, clock.now()), FILE_TASK_DONE);
    EXPECT_EQ(host.polls, 2 * static_cast<int>(MAX_TEL_ENTRIES));
    const QByteArray card = vcardCard(exampleEntry(), "REV:20240115T093000Z");
    EXPECT_EQ(sink.written, card.repeated(MAX_TEL_ENTRIES));
    EXPECT_LE(sink.writes, sink.written.size() / (64 * 1024) + 1);
    EXPECT_TRUE(sink.committed);
}

} // namespace
