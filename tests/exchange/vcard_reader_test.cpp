#include "exchange/core/vcard_reader.h"
#include "tests/exchange/failing_device.h"
#include "tests/exchange/fixed_clock.h"
#include "tests/exchange/scripted_host.h"
#include "tests/support/book_fixtures.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace {

const QString NO_CARDS = QStringLiteral("vCardファイルに電話帳のデータがありません。");
const QString CANCEL_QUESTION = QStringLiteral("vCardインポート処理を中止しますか？");

QByteArray cp932(const QString& text)
{
    const auto bytes = toCp932(text);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(QByteArray());
}

// A file from UTF-8 lines (stored as code page 932), each ended by CR LF.
QByteArray vcf(std::initializer_list<const char*> lines)
{
    QByteArray file;
    for (const char* line : lines)
        file += cp932(QString::fromUtf8(line)) + "\r\n";
    return file;
}

QByteArray card(std::initializer_list<const char*> body)
{
    QByteArray file = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    file += vcf(body);
    return file + "END:VCARD\r\n";
}

QString text(const char* field)
{
    return fromCp932(field);
}

// A book the import must replace, or leave as it was.
TelBook& bookBefore()
{
    static TelBook* book = new TelBook{};
    return *book;
}

class VCardReader : public testing::Test {
protected:
    void SetUp() override
    {
        book = makeBook({{"前からの人", "ﾏｴ", {"0311112222"}}});
        bookBefore() = *book;
    }

    int import(const QByteArray& bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        return readVCard(buffer, host, *book, clock);
    }
    bool bookUnchanged() const
    {
        return std::memcmp(book.get(), &bookBefore(), sizeof(TelBook)) == 0;
    }
    const TelEntry& entry(int i) const { return book->entries[i]; }

    std::unique_ptr<TelBook> book;
    ScriptedHost host;
    FixedClock clock;
};

TEST_F(VCardReader, ReadsACardOfForeignOrigin)
{
    const QByteArray file =
        vcf({"BEGIN:VCARD", "VERSION:2.1", "N;CHARSET=SHIFT_JIS:見本;花子;;;", "FN:見本花子",
             "SOUND;CHARSET=SHIFT_JIS:ミホン;ハナコ;;;", "TEL;HOME;VOICE:0312345678",
             "TEL;CELL:09012345678", "X-CLASS:PRIVATE",
             "NOTE;ENCODING=QUOTED-PRINTABLE:=82=A0=", "=82=A2", "END:VCARD"});
    ASSERT_EQ(import(file), FILE_TASK_DONE);
    EXPECT_TRUE(host.shown.isEmpty());
    ASSERT_EQ(book->count, 1u);
    TelEntry expected =
        makeEntry({"見本花子", "ﾐﾎﾝﾊﾅｺ", {"0312345678", "09012345678"}, {}, "あい"});
    expected.tel[1].kind = TEL_MOBILE;
    expected.secret = 1;
    EXPECT_EQ(std::memcmp(&entry(0), &expected, sizeof expected), 0)
        << text(entry(0).name).toStdString() << " / " << text(entry(0).furigana).toStdString();
    EXPECT_EQ(book->entries[1].name[0], '\0');
}

TEST_F(VCardReader, TakesTheKindFromTheFirstTypeWordInTheLine)
{
    const std::pair<const char*, std::uint8_t> tel[] = {
        {"TEL;WORK:1", TEL_OFFICE},
        {"TEL;HOME:1", TEL_PHONE},
        {"TEL;VOICE:1", TEL_PHONE},
        {"TEL;FAX:1", TEL_FAX},
        {"TEL;CELL:1", TEL_MOBILE},
        {"TEL;PCS:1", TEL_PHS},
        {"TEL;X-NEC-PHS;SHOP:1", TEL_PHONE},
        {"TEL;X-NEC-PHS;RESTAURANT:1", TEL_PHONE},
        {"TEL;X-NEC-PHS;HOSPITAL:1", TEL_PHONE},
        {"TEL;X-NEC-PHS;OTHER:1", TEL_PHONE},
        {"TEL;SHOP;CELL:1", TEL_MOBILE}, // the table's order decides, not the line's
        {"TEL;X-NEC-PHS:1", TEL_PHS},
        {"TEL;PREF:1", TEL_PHONE},
        {"TEL;CELL;VOICE:1", TEL_PHONE},
        {"TEL;FAX;WORK:1", TEL_OFFICE},
        {"TEL;CELL;FAX:1", TEL_FAX},
        {"TEL;X-NEC-PHS;CELL:1", TEL_MOBILE},
        {"TEL;PAGER:1", TEL_PHONE},
        {"TEL;PCS;HOME:1", TEL_PHONE},
    };
    for (const auto& [line, kind] : tel) {
        ASSERT_EQ(import(card({"N;X:n", line})), FILE_TASK_DONE);
        EXPECT_EQ(entry(0).tel[0].kind, kind) << line;
    }
    const std::pair<const char*, std::uint8_t> mail[] = {
        {"EMAIL;WORK:a@b", MAIL_OFFICE_PC},        {"EMAIL;INTERNET;WORK:a@b", MAIL_UNSPECIFIED},
        {"EMAIL;WORK;HOME:a@b", MAIL_UNSPECIFIED}, {"EMAIL;WORK;CELL:a@b", MAIL_UNSPECIFIED},
        {"EMAIL;PCS;WORK:a@b", MAIL_UNSPECIFIED},  {"EMAIL;PREF:a@b", MAIL_UNSPECIFIED},
        {"EMAIL;X-WORK:a@b", MAIL_OFFICE_PC},
    };
    for (const auto& [line, kind] : mail) {
        ASSERT_EQ(import(card({"N;X:n", line})), FILE_TASK_DONE);
        EXPECT_EQ(entry(0).mail[0].kind, kind) << line;
    }
}

struct FieldCase {
    const char* what;
    QByteArray file;
    std::function<void(const TelBook&)> check;
};

TEST_F(VCardReader, FitsEveryValueIntoItsField)
{
    const QByteArray thirtyThree =
        cp932(QStringLiteral("Aあいうえおかきくけこさしすせそ")) + "\x82";
    const FieldCase cases[] = {
        {"N without parameters is no name", card({"N:山田;太郎", "TEL;CELL:090"}),
         [](const TelBook& b) {
             EXPECT_EQ(text(b.entries[0].name), QStringLiteral("090"));
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("090"));
         }},
        {"name components are joined", card({"N;CHARSET=SHIFT_JIS:山田;太郎;;;"}),
         [](const TelBook& b) { EXPECT_EQ(text(b.entries[0].name), QStringLiteral("山田太郎")); }},
        {"a name of 33 bytes with a lead byte at 32 keeps 31",
         "BEGIN:VCARD\nN;X:" + thirtyThree + "\x81\nEND:VCARD\n",
         [&](const TelBook& b) {
             EXPECT_EQ(QByteArray(b.entries[0].name), thirtyThree.first(31));
         }},
        {"a reading in hiragana is dropped and filled from the first number",
         card(
             {"N;X:山田", "SOUND;X-IRMC-N:やまだ", "EMAIL;INTERNET:y@example.jp", "TEL;WORK:0311"}),
         [](const TelBook& b) { EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("0311")); }},
        {"a reading with a lead byte at its very end",
         "BEGIN:VCARD\nN;X:a\nSOUND:\xB1\x83\nEND:VCARD\n",
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].furigana, "\xB1"); }},
        {"X-GNO 7, 12 and A",
         card({"X-GNO:7"}) + card({"X-GNO:12"}) + card({"X-GNO:A"}) + card({"X-GNO:"}),
         [](const TelBook& b) {
             EXPECT_EQ(b.entries[0].group, 7);
             EXPECT_EQ(b.entries[1].group, 0);
             EXPECT_EQ(b.entries[2].group, 17);
             EXPECT_EQ(b.entries[3].group, 0);
         }},
        {"an address of 65 bytes leaves its slot empty, 64 fit",
         "BEGIN:VCARD\nEMAIL;INTERNET:" + QByteArray(65, 'a') +
             "\nEMAIL;INTERNET:" + QByteArray(64, 'b') + "\nEMAIL;WORK:\nEND:VCARD\n",
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].mail[0].address, "");
             EXPECT_EQ(QByteArray(b.entries[0].mail[1].address), QByteArray(64, 'b'));
             EXPECT_EQ(b.entries[0].mail[2].kind, MAIL_OFFICE_PC);
         }},
        {"a fourth TEL and EMAIL line is dropped and touches nothing else",
         card({"N;X:one", "TEL;CELL:1", "TEL;CELL:2", "TEL;CELL:3", "TEL;FAX:4", "TEL;FAX:5",
               "EMAIL;WORK:a@1", "EMAIL;WORK:a@2", "EMAIL;WORK:a@3", "EMAIL;INTERNET:a@4"}) +
             card({"N;X:two"}),
         [](const TelBook& b) {
             ASSERT_EQ(b.count, 2u);
             EXPECT_STREQ(b.entries[0].tel[2].number, "3");
             EXPECT_EQ(b.entries[0].tel[2].kind, TEL_MOBILE);
             EXPECT_STREQ(b.entries[0].mail[2].address, "a@3");
             EXPECT_EQ(b.entries[0].mail[2].kind, MAIL_OFFICE_PC);
             EXPECT_STREQ(b.entries[0].memo, "");
             EXPECT_STREQ(b.entries[1].name, "two");
             EXPECT_STREQ(b.entries[1].tel[0].number, "****");
         }},
        {"a card without END:VCARD runs on into the next",
         vcf({"BEGIN:VCARD", "N;X:first", "TEL;CELL:1", "BEGIN:VCARD", "N;X:second", "TEL;FAX:2",
              "END:VCARD"}),
         [](const TelBook& b) {
             ASSERT_EQ(b.count, 1u);
             EXPECT_STREQ(b.entries[0].name, "second");
             EXPECT_STREQ(b.entries[0].tel[1].number, "2");
             EXPECT_EQ(b.entries[0].tel[1].kind, TEL_FAX);
         }},
        {"key words count anywhere in the line",
         card({"N;X:n", "NOTE:call TEL;090", "ORG:SOUNDｱｲ", "X-FOO:X-CLASS PRIVATE"}),
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].tel[0].number, "call TEL;090");
             EXPECT_EQ(text(b.entries[0].furigana), QStringLiteral("SOUNDｱｲ"));
             EXPECT_EQ(b.entries[0].secret, 1);
             EXPECT_STREQ(b.entries[0].memo, "");
         }},
        {"a card with only a name gets the time and four stars", card({"N;X:名前だけ"}),
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].furigana, "2024/01/15/ 09:30");
             for (const TelNumber& slot : b.entries[0].tel)
                 EXPECT_STREQ(slot.number, "****");
             EXPECT_EQ(text(b.entries[0].name), QStringLiteral("名前だけ"));
         }},
        {"a reading from the first address is cut to 32 bytes",
         card({"EMAIL;INTERNET:abcdefghijklmnopqrstuvwxyz0123456789@example.jp"}),
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].furigana, "abcdefghijklmnopqrstuvwxyz012345");
             EXPECT_STREQ(b.entries[0].name, b.entries[0].furigana);
             EXPECT_STREQ(b.entries[0].tel[0].number, "");
         }},
        {"a repeated property overwrites, an empty value keeps",
         card({"N;X:old", "N;X:", "NOTE:first", "NOTE:second", "NOTE:", "X-CLASS:PRIVATE",
               "X-CLASS:PUBLIC PRIVATE"}),
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].name, "old");
             EXPECT_STREQ(b.entries[0].memo, "second");
             EXPECT_EQ(b.entries[0].secret, 0);
         }},
        {"a plain NOTE keeps its first 100 bytes",
         "BEGIN:VCARD\nNOTE:" + QByteArray(150, 'm') + "\nEND:VCARD\n",
         [](const TelBook& b) { EXPECT_EQ(QByteArray(b.entries[0].memo), QByteArray(100, 'm')); }},
        {"a quoted-printable memo whose joined value is empty ends the join",
         vcf({"BEGIN:VCARD", "NOTE;ENCODING=QUOTED-PRINTABLE:=", "", "TEL;CELL:1", "END:VCARD"}),
         [](const TelBook& b) {
             EXPECT_STREQ(b.entries[0].memo, "");
             EXPECT_STREQ(b.entries[0].tel[0].number, "1");
         }},
        {"a malformed escape ends the memo", card({"NOTE;ENCODING=QUOTED-PRINTABLE:ab=ZZcd=4"}),
         [](const TelBook& b) { EXPECT_STREQ(b.entries[0].memo, "ab"); }},
        {"a VERSION line before the first card is ignored", "VERSION:3.0\n" + card({"N;X:n"}),
         [](const TelBook& b) { EXPECT_EQ(b.count, 1u); }},
        {"lines end in LF, CR LF or at the end of the file",
         QByteArray("BEGIN:VCARD\nN;X:lf\r\nTEL;CELL:1\r\r\nEND:VCARD"),
         [](const TelBook& b) {
             ASSERT_EQ(b.count, 1u);
             EXPECT_STREQ(b.entries[0].name, "lf");
             EXPECT_STREQ(b.entries[0].tel[0].number, "1\r"); // a lone CR stays
         }},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(import(c.file), FILE_TASK_DONE);
        EXPECT_TRUE(host.shown.isEmpty());
        c.check(*book);
    }
}

TEST_F(VCardReader, AJoinedMemoIsBoundedHoweverManyLinesContinueIt)
{
    QByteArray file = "BEGIN:VCARD\nNOTE;ENCODING=QUOTED-PRINTABLE:=41=\n";
    for (int i = 0; i < 20000; ++i)
        file += QByteArray(390, 'B') + "=\n";
    file += "=43\nTEL;CELL:1\nEND:VCARD\n";
    ASSERT_EQ(import(file), FILE_TASK_DONE);
    EXPECT_EQ(QByteArray(entry(0).memo), "A" + QByteArray(99, 'B'));
    EXPECT_STREQ(entry(0).tel[0].number, "1"); // the lines after the memo are read as before
    EXPECT_EQ(host.polls, 5);                  // BEGIN, NOTE, TEL, END and the end of the file
}

TEST_F(VCardReader, ReadsTheFirstThousandCards)
{
    QByteArray file;
    for (int i = 0; i < 1005; ++i)
        file += "BEGIN:VCARD\nN;X:" + QByteArray::number(i) + "\nEND:VCARD\n";
    ASSERT_EQ(import(file), FILE_TASK_DONE);
    ASSERT_EQ(book->count, 1000u);
    EXPECT_STREQ(entry(999).name, "999");
}

struct EarlyReturn {
    const char* what;
    QByteArray file;
    int result;
    QStringList shown;
};

TEST_F(VCardReader, EveryWayOutBeforeTheEndLeavesTheBookAsItWas)
{
    const QByteArray goodCard = card({"N;X:n", "TEL;CELL:1"});
    const EarlyReturn cases[] = {
        {"no BEGIN:VCARD", vcf({"N;X:n", "TEL;CELL:1", "END:VCARD"}), FILE_TASK_DONE, {NO_CARDS}},
        {"an empty file", QByteArray(), FILE_TASK_DONE, {NO_CARDS}},
        {"lower-case begin", vcf({"begin:vcard", "END:VCARD"}), FILE_TASK_DONE, {NO_CARDS}},
        {"an unfinished only card", vcf({"BEGIN:VCARD", "N;X:n"}), FILE_TASK_DONE, {NO_CARDS}},
        {"a memo continued past the end",
         vcf({"BEGIN:VCARD", "NOTE;ENCODING=QUOTED-PRINTABLE:=41=", "END:VCARD="}),
         FILE_TASK_DONE,
         {NO_CARDS}},
        {"VERSION:3.0 inside a card",
         goodCard + vcf({"BEGIN:VCARD", "VERSION:3.0", "END:VCARD"}),
         FILE_TASK_BAD_VERSION,
         {}},
        {"a version line with trailing blanks",
         vcf({"BEGIN:VCARD", "VERSION:2.1 "}),
         FILE_TASK_BAD_VERSION,
         {}},
        {"a line of 399 bytes",
         goodCard + "BEGIN:VCARD\nNOTE:" + QByteArray(394, 'x') + "\n",
         FILE_TASK_FAILED,
         {}},
        {"a long line before any card",
         QByteArray(1000, 'x') + "\n" + goodCard,
         FILE_TASK_FAILED,
         {}},
        {"a line that begins with NUL",
         goodCard + QByteArray("\0BEGIN\n", 7) + goodCard,
         FILE_TASK_FAILED,
         {}},
        {"a NUL inside a line",
         goodCard + QByteArray("BEGIN:VCARD\nN;X:a\0b\nEND:VCARD\n", 30),
         FILE_TASK_FAILED,
         {}},
        {"a long continuation line",
         "BEGIN:VCARD\nNOTE;ENCODING=QUOTED-PRINTABLE:=41=\n" + QByteArray(500, 'B') + "\n",
         FILE_TASK_FAILED,
         {}},
    };
    for (const EarlyReturn& c : cases) {
        SCOPED_TRACE(c.what);
        host.shown.clear();
        EXPECT_EQ(import(c.file), c.result);
        EXPECT_EQ(host.shown, c.shown);
        EXPECT_TRUE(bookUnchanged());
    }
}

TEST_F(VCardReader, ALineOf398BytesAndItsLineEndIsStillRead)
{
    const QByteArray file = "BEGIN:VCARD\nNOTE:" + QByteArray(393, 'x') + "\nEND:VCARD\n";
    ASSERT_EQ(import(file), FILE_TASK_DONE);
    EXPECT_EQ(QByteArray(entry(0).memo), QByteArray(100, 'x'));
    // The same line as the last of the file without a line end is read too.
    ASSERT_EQ(import("BEGIN:VCARD\nEND:VCARD"), FILE_TASK_DONE);
    EXPECT_EQ(book->count, 1u);
}

TEST_F(VCardReader, TheFileEndsAtAByte1AAndItsLastLineIsUsedWhateverItsEnd)
{
    const QByteArray first = card({"N;X:a", "TEL;CELL:1"});
    const QByteArray second = card({"N;X:b", "TEL;CELL:2"});
    const struct {
        const char* what;
        QByteArray file;
    } cases[] = {
        {"a 0x1A between the cards", first + "\x1A" + second},
        {"a 0x1A inside the next card's first line", first + "BEGIN:VC\x1A" + second},
        {"an END:VCARD line that fills the buffer",
         "BEGIN:VCARD\nN;X:a\nTEL;CELL:1\nEND:VCARD" + QByteArray(390, ' ')},
        {"an END:VCARD line cut by a NUL", first.chopped(2) + QByteArray("\0junk\r\n", 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearBook(*book);
        EXPECT_EQ(import(c.file), FILE_TASK_DONE);
        EXPECT_TRUE(host.shown.isEmpty());
        EXPECT_EQ(book->count, 1u);
        EXPECT_EQ(QByteArray(entry(0).name), "a");
    }
}

TEST_F(VCardReader, AFileThatFailsPartWayIsNotTakenForOneThatEnded)
{
    FailingDevice file(card({"N;X:a"}) + card({"N;X:b"}));
    EXPECT_EQ(readVCard(file, host, *book, clock), FILE_TASK_FAILED);
    EXPECT_TRUE(host.shown.isEmpty());
    EXPECT_TRUE(bookUnchanged());
}

TEST_F(VCardReader, CancelAnsweredNoGoesOnAndYesStops)
{
    const QByteArray file = card({"N;X:a"}) + card({"N;X:b"});
    host.cancelAtPolls = {3};
    host.answers = {false};
    ASSERT_EQ(import(file), FILE_TASK_DONE);
    EXPECT_EQ(host.questions, QStringList{CANCEL_QUESTION});
    EXPECT_EQ(book->count, 2u);
    EXPECT_EQ(host.polls, 9); // before each of the eight lines, and at the end of the file

    for (int poll : {0, 3, 8}) {
        clearBook(*book);
        *book = bookBefore();
        ScriptedHost stopping;
        stopping.cancelAtPolls = {poll};
        stopping.answers = {true};
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(readVCard(buffer, stopping, *book, clock), FILE_TASK_ENDED) << poll;
        EXPECT_EQ(stopping.polls, poll + 1);
        EXPECT_TRUE(stopping.shown.isEmpty());
        EXPECT_TRUE(bookUnchanged()) << poll;
    }
}

TEST_F(VCardReader, AFileThatCannotBeOpenedFails)
{
    EXPECT_EQ(readVCardFile(QStringLiteral("/nonexistent/book.vcf"), *book, host, clock),
              FILE_TASK_FAILED);
    EXPECT_TRUE(host.shown.isEmpty());
    EXPECT_TRUE(bookUnchanged());
}

} // namespace
