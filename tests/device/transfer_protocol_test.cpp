#include "device/core/transfer_session.h"
#include "device/core/transfer_steps.h"
#include "tests/device/protocol_fakes.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

const QByteArray BOOK_VN650R = "<1:1:3/1000:00:086078054053048082f>\r\n";
const QByteArray BOOK_VN540R = "<1:1:3/1000:00:086078053052048082f>\r\n";
const char COPY_DONE[] = "電話帳データコピーが正常に終了しました。";
const char COPY_FAILED[] = "電話帳データコピーが正常に行われませんでした。";
const char NO_REPLY[] = "応答がありません。";

QByteArray bookReply(int count, const QByteArray& model = "VN650R")
{
    QByteArray reply = "<1:1:" + QByteArray::number(count) + "/1000:00:";
    for (char c : model)
        reply += QByteArray::number(static_cast<unsigned char>(c)).rightJustified(3, '0');
    return reply + "f>\r\n";
}

// A record line as the handset sends it, for the entry at index; last marks the final record.
QByteArray recordReply(const TelEntry& entry, int index, bool last)
{
    SentParts parts;
    DeviceRecord record = encodeEntryRecord(entry, index, "", parts);
    if (last)
        record.bytes[RECORD_FLAGS_OFFSET] |= RECORD_LAST;
    return entryFrame(record);
}

class Protocol : public testing::Test {
protected:
    void SetUp() override
    {
        clearBook(book);
        session.state = LINK_ATTENTION;
        resetTransfer(session);
        session.book = &book;
    }

    void fillBook(std::initializer_list<EntryFields> entries)
    {
        clearBook(book);
        for (const EntryFields& fields : entries)
            book.entries[book.count++] = makeEntry(fields);
    }

    // Starts the session in state, with its command due on the next tick.
    void enter(LinkState state)
    {
        session.state = state;
        session.sendPending = true;
        session.awaitingReply = false;
    }
    // Ticks until the transfer ended or stop() holds; returns the ticks used.
    int run(int limit = 1000, const std::function<bool()>& stop = {})
    {
        int ticks = 0;
        while (host.ends == 0 && ticks < limit && !(stop && stop())) {
            stepTransfer(session, port, host);
            ++ticks;
        }
        return ticks;
    }
    // The AT phase and the book query of a handset that answers everything at once.
    void scriptUpToBook(const QByteArray& book)
    {
        port.expect("AT\r\n", "OK\r\n");
        port.expect("ATI3\r\n", "QVR 650\r\nOK\r\n");
        port.expect("AT@S\r\n", "OK\r\n");
        port.expect("<1F>\r\n", book);
    }
    void expectLeave(const QByteArray& reply = "OK\r\n") { port.expect("+++", reply); }

    // The book a write sends.
    std::unique_ptr<TelBook> bookStore = std::make_unique<TelBook>();
    TelBook& book = *bookStore;
    TransferSession session;
    ScriptedPort port;
    ScriptedHost host{OP_DEVICE_WRITE};
};

TEST_F(Protocol, AttentionWaitsOverEchoAndEmptyLinesOneLinePerTick)
{
    fillBook({{"A"}});
    port.expect("AT\r\n", "AT\r\n\r\nOKAY\r\n");
    const int ticks = run(10, [&] { return session.state != LINK_ATTENTION; });
    EXPECT_EQ(ticks, 4); // the send, then one line per tick
    EXPECT_EQ(session.state, LINK_IDENTIFY);
    EXPECT_EQ(port.purges, 1);
    EXPECT_TRUE(host.shown.isEmpty());
}

struct ResendCase {
    LinkState state;
    QByteArray command;
    QByteArray badReply;
    const char* message;
};

TEST_F(Protocol, FourthBadReplyEndsTheResendsOfTheAtPhase)
{
    const ResendCase cases[] = {
        {LINK_ATTENTION, "AT\r\n", "ERROR\r\n", "再送に失敗しました。(0)"},
        {LINK_ATTENTION, "AT\r\n", "A\r\n", "再送に失敗しました。(0)"},
        {LINK_ATTENTION, "AT\r\n", "QVR\r\n", "再送に失敗しました。(0)"},
        {LINK_ENTER_DATA, "AT@S\r\n", "QVR\r\n", "再送に失敗しました。(2)"},
    };
    for (const ResendCase& c : cases) {
        SetUp();
        host = ScriptedHost(OP_DEVICE_WRITE);
        port = ScriptedPort();
        fillBook({{"A"}});
        enter(c.state);
        for (int i = 0; i < 4; ++i)
            port.expect(c.command, c.badReply);
        run();
        EXPECT_EQ(port.written.size(), 4) << c.badReply.toStdString();
        EXPECT_EQ(host.shown, QStringList{utf8(c.message)});
        EXPECT_EQ(host.ends, 1);
        EXPECT_EQ(session.state, LINK_ATTENTION);
    }
}

TEST_F(Protocol, AttentionRecoversAfterThreeResends)
{
    fillBook({{"A"}});
    for (int i = 0; i < 3; ++i)
        port.expect("AT\r\n", "ERROR\r\n");
    port.expect("AT\r\n", "OK\r\n");
    run(20, [&] { return session.state == LINK_IDENTIFY; });
    EXPECT_EQ(session.state, LINK_IDENTIFY);
    EXPECT_EQ(session.retryCount, 0);
    EXPECT_TRUE(host.shown.isEmpty());
}

TEST_F(Protocol, IdentifyWaitsForTheMakerAndRejectsAnyOtherHandset)
{
    fillBook({{"A"}});
    enter(LINK_IDENTIFY);
    port.expect("ATI3\r\n", "ATI3\r\nOK\r\n\r\n\r\n\nQVR-650\r\n");
    run(20, [&] { return session.state != LINK_IDENTIFY; });
    EXPECT_EQ(session.state, LINK_ENTER_DATA);

    SetUp();
    fillBook({{"A"}});
    host = ScriptedHost(OP_DEVICE_WRITE);
    port = ScriptedPort();
    enter(LINK_IDENTIFY);
    port.expect("ATI3\r\n", "OK\r\nMODEM 9\r\n");
    run();
    EXPECT_EQ(host.shown,
              QStringList{utf8("ＱＶＲ製端末ではないため電話帳データコピーができません。")});
    EXPECT_EQ(port.written.size(), 1); // no "+++" before data-transfer mode
}

// The maker's name and its "OK" arriving polls apart: "AT@S" goes out only after the "OK", so
// that "OK" is never taken as the answer to "AT@S"; together they take one tick as before.
TEST_F(Protocol, IdentifyAnswerIsTakenWholeBeforeTheNextCommand)
{
    for (bool apart : {true, false}) {
        SetUp();
        fillBook({{"A"}});
        host = ScriptedHost(OP_DEVICE_WRITE);
        port = ScriptedPort();
        enter(LINK_IDENTIFY);
        if (apart)
            port.expectChunks("ATI3\r\n", {"QVR 650\r\n", {}, {}, "OK\r\n"});
        else
            port.expect("ATI3\r\n", "QVR 650\r\nOK\r\n");
        const int ticks = run(20, [&] { return session.state != LINK_IDENTIFY; });
        EXPECT_EQ(session.state, LINK_ENTER_DATA) << apart;
        EXPECT_EQ(port.written.size(), 1) << apart;
        EXPECT_EQ(ticks, apart ? 5 : 2) << apart;
        EXPECT_TRUE(host.shown.isEmpty()) << apart;
    }
}

TEST_F(Protocol, EnterDataFailsOnErrorWithoutLeavingDataMode)
{
    fillBook({{"A"}});
    enter(LINK_ENTER_DATA);
    port.expect("AT@S\r\n", "AT@S\r\nERROR\r\n");
    run();
    EXPECT_EQ(host.shown, QStringList{utf8("データ転送モード起動に失敗しました。")});
    EXPECT_EQ(port.written.size(), 1);
}

struct BookCase {
    const char* name;
    OperationCode operation;
    QByteArray reply;
    const char* message; // nullptr: none
    LinkState next;
};

// The book query for both directions: every outcome leaves data-transfer mode with "+++" except
// the ones that go on.
TEST_F(Protocol, QueryBookTable)
{
    const BookCase cases[] = {
        {"device error 0", OP_DEVICE_WRITE, "<0b>\r\n", "電話帳転送ができませんでした。",
         LINK_LEAVE_DATA},
        {"device error 2", OP_DEVICE_READ, "<2b>\r\n", "電話帳転送ができませんでした。",
         LINK_LEAVE_DATA},
        {"device error 4", OP_DEVICE_READ, "<4b>\r\n", "コマンドが異常です。", LINK_LEAVE_DATA},
        {"empty line", OP_DEVICE_READ, "\r\n", "コマンドが異常です。", LINK_LEAVE_DATA},
        {"write VN540R", OP_DEVICE_WRITE, BOOK_VN540R,
         "電話帳書込み未対応機種のため電話帳データコピーができません。", LINK_LEAVE_DATA},
        {"read VN540R", OP_DEVICE_READ, BOOK_VN540R, nullptr, LINK_READ_ENTRY},
        {"read unknown", OP_DEVICE_READ, bookReply(3, "XX1"),
         "電話帳読出し未対応機種のため電話帳データコピーができません。", LINK_LEAVE_DATA},
        {"read 0", OP_DEVICE_READ, bookReply(0), "電話帳登録件数が０件です", LINK_LEAVE_DATA},
        {"read 1000", OP_DEVICE_READ, bookReply(1000), nullptr, LINK_READ_ENTRY},
        {"read 1001", OP_DEVICE_READ, bookReply(1001), "電話帳登録件数が１０００件を越えています",
         LINK_LEAVE_DATA},
    };
    for (const BookCase& c : cases) {
        SetUp();
        fillBook({{"A"}, {"B"}});
        const TelBook before = book;
        host = ScriptedHost(c.operation);
        port = ScriptedPort();
        enter(LINK_QUERY_BOOK);
        port.expect("<1F>\r\n", c.reply);
        run(10, [&] { return session.state != LINK_QUERY_BOOK; });
        EXPECT_EQ(session.state, c.next) << c.name;
        EXPECT_EQ(host.shown, c.message ? QStringList{utf8(c.message)} : QStringList()) << c.name;
        EXPECT_TRUE(host.questions.isEmpty()) << c.name;
        EXPECT_EQ(std::memcmp(&before, &book, sizeof before), 0) << c.name;
        EXPECT_FALSE(session.readBook) << c.name;
        EXPECT_EQ(host.closings, c.next == LINK_LEAVE_DATA ? 1 : 0) << c.name;
    }
}

TEST_F(Protocol, DecliningTheEraseSendsOnlyTheEscape)
{
    fillBook({{"A", "ｱ"}});
    scriptUpToBook(BOOK_VN650R);
    expectLeave();
    host.answers.enqueue(false);
    run();
    EXPECT_EQ(host.questions,
              QStringList{utf8("電話帳全件消去します。よろしいですか？\n1件を書き込みます。")});
    EXPECT_TRUE(host.shown.isEmpty());
    EXPECT_EQ(port.written.last(), QByteArray("+++"));
    EXPECT_EQ(host.ends, 1);
    EXPECT_TRUE(port.script.isEmpty());
}

// The erase question names the entries that break a field rule (the first five, then how many
// more), so that the user can answer No and mend them before they reach the handset.
TEST_F(Protocol, TheEraseQuestionNamesTheEntriesToMend)
{
    const QString head = utf8("電話帳全件消去します。よろしいですか？\n");
    const QString mend =
        utf8("件は入力の決まりに合っていません。先に直すには「いいえ」を選んでください。");
    const auto question = [this](std::initializer_list<EntryFields> entries) {
        fillBook(entries);
        return eraseQuestion(session);
    };
    EXPECT_EQ(question({{"A", "ｱ", {"1"}}, {"B", "ﾋﾞ", {}, {"b@x"}}}),
              head + utf8("2件を書き込みます。"));
    EXPECT_EQ(question({{"A", "ｱ", {"1"}}, {"佐藤花子", "ｻﾄｳ", {"03-1234"}}}),
              head + utf8("2件を書き込みます。\n次の1") + mend +
                  utf8("\n・2件目「佐藤花子」の電話番号１に使えない文字があります"));

    // Seven entries without a reading and one with.
    fillBook({{"ok", "ｵｹ"}});
    book.entries[7] = book.entries[0];
    for (int i = 0; i < 7; ++i)
        book.entries[i] = makeEntry({"n", ""});
    book.count = 8;
    QString many = head + utf8("8件を書き込みます。\n次の7") + mend;
    for (int i = 1; i <= 5; ++i)
        many += utf8("\n・%1件目「n」のフリガナがありません").arg(i);
    EXPECT_EQ(eraseQuestion(session), many + utf8("\n（ほか2件）"));
}

TEST_F(Protocol, WriteOfThreeEntriesSendsExactlyThreeFrames)
{
    fillBook({{"A", "ｱ", {"1"}}, {"B"}, {"C", "", {}, {"c@d"}, "m"}});
    scriptUpToBook(BOOK_VN650R);
    port.expect("<3:1H>\r\n", "<2h>\r\n");
    for (int i = 0; i < 3; ++i)
        port.expectFrame();
    expectLeave("<2h>\r\nOK\r\n");
    host.answers.enqueue(true);
    run();
    EXPECT_TRUE(port.script.isEmpty());
    EXPECT_EQ(port.written.size(), 4 + 1 + 3 + 1);
    EXPECT_EQ(host.shown, QStringList{utf8(COPY_DONE)});
    EXPECT_EQ(host.progress, (QStringList{utf8("書き込み中 0001件目"), utf8("書き込み中 0002件目"),
                                          utf8("書き込み中 0003件目")}));
    EXPECT_TRUE(session.completed);
    EXPECT_STREQ(session.modelName, "VN650R");
    SentParts parts;
    EXPECT_EQ(port.written[5], entryFrame(encodeEntryRecord(book.entries[0], 0, "", parts)));
    EXPECT_FALSE(session.readBook); // a write hands no book over
}

TEST_F(Protocol, EntryNeedingThreeRecordsGoesOutInThreeFramesBeforeTheNextEntry)
{
    const std::string digits(32, '1');
    fillBook({{std::string(32, 'N'),
               std::string(32, 'F'),
               {digits, digits, digits},
               {std::string(64, 'a'), std::string(64, 'b'), std::string(64, 'c')},
               std::string(100, 'm')},
              {"B"}});
    enter(LINK_WRITE_ENTRY);
    for (int i = 0; i < 4; ++i)
        port.expectFrame();
    run(8);
    ASSERT_EQ(port.written.size(), 4);
    EXPECT_EQ(port.written[0].size(), 5 + 3 * 191 + 4);
    EXPECT_EQ(port.written[1].size(), 5 + 3 * 210 + 4);
    EXPECT_EQ(port.written[2].size(), 5 + 3 * 112 + 4);
    EXPECT_EQ(host.progress,
              (QStringList{utf8("書き込み中 0001件目"), utf8("書き込み中 0001件目"),
                           utf8("書き込み中 0001件目"), utf8("書き込み中 0002件目")}));
    EXPECT_EQ(host.shown, QStringList{utf8(COPY_DONE)});
}

TEST_F(Protocol, BadAcknowledgementsLeaveDataMode)
{
    const std::pair<LinkState, const char*> cases[] = {
        {LINK_ERASE_ALL, "電話帳データ全消去が正常に行われませんでした。"},
        {LINK_WRITE_ENTRY, COPY_FAILED},
    };
    for (auto [state, message] : cases) {
        for (const QByteArray& reply : {QByteArray("\r\n"), QByteArray("<1b>\r\n")}) {
            SetUp();
            fillBook({{"A"}, {"B"}});
            host = ScriptedHost(OP_DEVICE_WRITE);
            port = ScriptedPort();
            enter(state);
            if (state == LINK_ERASE_ALL)
                port.expect("<3:1H>\r\n", reply);
            else
                port.expectFrame(reply);
            expectLeave();
            run();
            EXPECT_EQ(host.shown, QStringList{utf8(message)});
            EXPECT_EQ(port.written.last(), QByteArray("+++"));
            EXPECT_EQ(host.ends, 1);
        }
    }
}

TEST_F(Protocol, LeaveDataTable)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"OK\r\n", nullptr},
        {"<2h>\r\n\r\nOK\r\n", nullptr},
        {"ERROR\r\n", "データ転送モードが正常に解除できませんでした。"},
    };
    for (const auto& [reply, message] : cases) {
        SetUp();
        host = ScriptedHost(OP_DEVICE_READ);
        port = ScriptedPort();
        enter(LINK_LEAVE_DATA);
        session.entryIndex = 5;
        expectLeave(reply);
        run();
        EXPECT_EQ(host.shown, message ? QStringList{utf8(message)} : QStringList());
        EXPECT_EQ(host.ends, 1);
        EXPECT_EQ(session.entryIndex, 0);
        EXPECT_EQ(session.state, LINK_ATTENTION);
    }
}

TEST_F(Protocol, EmptyBookWriteEndsBeforeAnyByteIsSent)
{
    run();
    EXPECT_EQ(host.shown, QStringList{utf8("電話帳データがありません。")});
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(port.purges, 0);
}

TEST_F(Protocol, FailedSendEndsTheTransfer)
{
    fillBook({{"A"}});
    port.failWrites = true;
    run();
    EXPECT_EQ(host.shown, QStringList{utf8("送信に失敗しました")});
    EXPECT_TRUE(session.awaitingReply);
}

struct LinkLostCase {
    OperationCode operation;
    LinkState state;
    QByteArray command;
    bool eraseSent;
    const char* message;
    bool escapes; // "+++" is tried once before the end
};

const char LINK_LOST[] = "携帯電話との通信が途切れました。ケーブルの接続を確かめてください。";
const char LINK_LOST_BOOK_AT_RISK[] =
    "携帯電話との通信が途切れました。携帯電話の電話帳は消去されたか、途中までしか書き込まれて"
    "いない可能性があります。ケーブルの接続を確かめて、もう一度書き込んでください。";

// The adapter pulled out in the middle: the user hears what happened and what it means.
TEST_F(Protocol, FailedReadSaysTheLinkWasLost)
{
    const LinkLostCase cases[] = {
        {OP_DEVICE_WRITE, LINK_ATTENTION, "AT\r\n", false, LINK_LOST, false},
        {OP_DEVICE_READ, LINK_READ_ENTRY, "<2:1H>\r\n", false, LINK_LOST, true},
        {OP_DEVICE_WRITE, LINK_QUERY_BOOK, "<1F>\r\n", false, LINK_LOST, true},
        {OP_DEVICE_WRITE, LINK_WRITE_ENTRY, "<1:1:", true, LINK_LOST_BOOK_AT_RISK, true},
    };
    for (const LinkLostCase& c : cases) {
        SetUp();
        fillBook({{"A"}});
        host = ScriptedHost(c.operation);
        port = ScriptedPort();
        enter(c.state);
        session.eraseSent = c.eraseSent;
        if (c.state == LINK_READ_ENTRY)
            session.staging = std::make_unique<TelBook>();
        port.script.enqueue({c.command, {}, true});
        port.failPolls = true;
        EXPECT_EQ(run(), 2) << int(c.state);
        EXPECT_EQ(host.shown, QStringList{utf8(c.message)}) << int(c.state);
        EXPECT_EQ(port.written.count("+++"), c.escapes ? 1 : 0) << int(c.state);
    }
}

struct SilenceCase {
    LinkState state;
    QByteArray command;
    bool escapes; // "+++" follows the message
};

TEST_F(Protocol, NoReplyLimitEndsOrLeavesDataMode)
{
    const SilenceCase cases[] = {
        {LINK_ATTENTION, "AT\r\n", false},
        {LINK_ENTER_DATA, "AT@S\r\n", false},
        // "AT@S" was answered: the handset is taken out of data-transfer mode again.
        {LINK_QUERY_BOOK, "<1F>\r\n", true},
        {LINK_ERASE_ALL, "<3:1H>\r\n", true},
        {LINK_WRITE_ENTRY, "<1:1:", true},
        {LINK_READ_ENTRY, "<2:1H>\r\n", true},
        // No answer to "+++" itself ends the transfer without a second one.
        {LINK_LEAVE_DATA, "+++", false},
    };
    for (const SilenceCase& c : cases) {
        SetUp();
        fillBook({{"A"}});
        host = ScriptedHost(c.state == LINK_READ_ENTRY ? OP_DEVICE_READ : OP_DEVICE_WRITE);
        port = ScriptedPort();
        enter(c.state);
        if (c.state == LINK_READ_ENTRY)
            session.staging = std::make_unique<TelBook>();
        port.script.enqueue({c.command, {}, true});
        // Half a line arrives and is then dropped with the rest.
        port.script.head().chunks = {"<2"};
        run(1 + NO_REPLY_TICK_LIMIT - 1);
        EXPECT_TRUE(host.shown.isEmpty());
        stepTransfer(session, port, host);
        // Silence from the first command on: no handset seems to be there, and the message
        // says what to look at.
        EXPECT_EQ(host.shown,
                  QStringList{c.state == LINK_ATTENTION ? noHandsetMessage({}) : utf8(NO_REPLY)});
        EXPECT_EQ(host.ends, c.escapes ? 0 : 1);
        if (!c.escapes) {
            EXPECT_LE(port.written.count("+++"), 1);
            continue;
        }
        expectLeave();
        run(3);
        EXPECT_EQ(port.written.last(), QByteArray("+++"));
        EXPECT_EQ(host.ends, 1);
        EXPECT_EQ(host.shown.size(), 1);
    }
}

TEST_F(Protocol, ReadStoresRecordsUntilTheLastRecordFlag)
{
    fillBook({{"old"}});
    host.op = OP_DEVICE_READ;
    const TelEntry first = makeEntry({"A", "ｱ", {"1", "2"}, {"a@b"}, "m", 2});
    const TelEntry second = makeEntry({"B"});
    scriptUpToBook(bookReply(2));
    port.expect("<2:1H>\r\n", recordReply(first, 0, false));
    port.expect("<2:1H>\r\n", recordReply(second, 1, true));
    expectLeave();
    run();
    EXPECT_TRUE(port.script.isEmpty());
    EXPECT_EQ(host.shown, QStringList{utf8(COPY_DONE)});
    EXPECT_EQ(host.progress,
              (QStringList{utf8("読み込み中 0001/0002件"), utf8("読み込み中 0002/0002件")}));
    ASSERT_TRUE(session.readBook);
    const TelBook& read = *session.readBook;
    ASSERT_EQ(read.count, 2u);
    EXPECT_EQ(std::memcmp(&read.entries[0], &first, sizeof first), 0);
    EXPECT_EQ(std::memcmp(&read.entries[1], &second, sizeof second), 0);
}

TEST_F(Protocol, ReadOfAnEntryOverSeveralRecordsFillsOneEntry)
{
    host.op = OP_DEVICE_READ;
    const std::string digits(32, '2');
    const TelEntry big =
        makeEntry({std::string(32, 'N'),
                   std::string(32, 'F'),
                   {digits, digits, digits},
                   {std::string(64, 'a'), std::string(64, 'b'), std::string(64, 'c')},
                   std::string(100, 'm')});
    enter(LINK_READ_ENTRY);
    session.staging = std::make_unique<TelBook>();
    SentParts parts;
    while (!parts.all()) {
        DeviceRecord record = encodeEntryRecord(big, 0, "", parts);
        if (parts.all())
            record.bytes[RECORD_FLAGS_OFFSET] |= RECORD_LAST;
        port.expect("<2:1H>\r\n", entryFrame(record));
    }
    ASSERT_EQ(port.script.size(), 3);
    expectLeave();
    run();
    ASSERT_TRUE(session.readBook);
    ASSERT_EQ(session.readBook->count, 1u);
    EXPECT_EQ(std::memcmp(&session.readBook->entries[0], &big, sizeof big), 0);
}

// A read that stops anywhere before the last record leaves the phone book exactly as it was.
TEST_F(Protocol, ReadThatStopsEarlyLeavesTheBookUnchanged)
{
    const QByteArray badReplies[] = {"\r\n", "<1b>\r\n", "<1:1:017068\r\n"};
    for (const QByteArray& bad : badReplies) {
        SetUp();
        fillBook({{"keep", "ｷｰﾌﾟ", {"0312"}}, {"me"}});
        const TelBook before = book;
        host = ScriptedHost(OP_DEVICE_READ);
        port = ScriptedPort();
        scriptUpToBook(bookReply(3));
        port.expect("<2:1H>\r\n", recordReply(makeEntry({"new"}), 0, false));
        port.expect("<2:1H>\r\n", bad);
        expectLeave();
        run();
        EXPECT_EQ(host.shown, QStringList{utf8(COPY_FAILED)});
        EXPECT_EQ(std::memcmp(&before, &book, sizeof before), 0);
        EXPECT_FALSE(session.readBook);
    }
}

TEST_F(Protocol, HandsetSendingMoreThan1000RecordsIsStoppedAndTheBookKept)
{
    fillBook({{"keep"}});
    const TelBook before = book;
    host.op = OP_DEVICE_READ;
    scriptUpToBook(bookReply(1000));
    for (int i = 0; i < 1000; ++i)
        port.expect("<2:1H>\r\n", recordReply(makeEntry({"x"}), i, false));
    expectLeave();
    run(5000);
    EXPECT_TRUE(port.script.isEmpty());
    EXPECT_EQ(host.shown, QStringList{utf8("電話帳登録件数が１０００件を越えています")});
    EXPECT_EQ(std::memcmp(&before, &book, sizeof before), 0);
    EXPECT_FALSE(session.readBook);
}

} // namespace
