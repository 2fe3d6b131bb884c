#include "device/core/transfer_session.h"

#include "device/core/handset_records.h"
#include "device/core/transfer_host.h"
#include "device/core/transfer_port.h"
#include "device/core/transfer_steps.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace {

const char ESCAPE[] = "+++";
const char WRITTEN_NOT_CHECKED[] = "電話帳の書き込みは終わりましたが、書き込んだ電話帳を読み戻して"
                                   "確認することはできませんでした。";

// The success message of the copy.
void tellDone(TransferHost& host)
{
    host.showDone(QString::fromUtf8(COPY_DONE_MESSAGE));
}

// A failure, remembered for the outcome of the transfer.
void tellFailure(TransferSession& session, TransferHost& host, const char* utf8)
{
    session.failureShown = true;
    host.showMessage(QString::fromUtf8(utf8));
}

// A failure while the handset's book is being backed up also says that nothing was erased.
void tell(TransferSession& session, TransferHost& host, const QString& text)
{
    session.failureShown = true;
    host.showMessage(withStopNote(session, text));
}
void tell(TransferSession& session, TransferHost& host, const char* utf8)
{
    tell(session, host, QString::fromUtf8(utf8));
}

const TelBook& emptyBook()
{
    static const TelBook none{};
    return none;
}

// The book a write sends; a read has none.
const TelBook& bookToWrite(const TransferSession& session)
{
    return session.book ? *session.book : emptyBook();
}

// The step label, when a transfer has more than one step: its name, and once the handset
// has told it, how many entries it covers.
void announceStep(const TransferSession& session, TransferHost& host, int entries = -1)
{
    if (!session.backupFirst && !session.verifyAfter)
        return;
    host.showStep(stepLabel(session, entries));
}

// "AT@S" was answered: the handset is in data-transfer mode until it is sent "+++".
bool inDataMode(const TransferSession& session)
{
    return session.state >= LINK_QUERY_BOOK;
}

// The serial line failed in the middle of a transfer (a USB adapter pulled out): say so, and
// once a write has erased the handset's book, that the book may be incomplete.
void linkLost(TransferSession& session, TransferPort& port, TransferHost& host)
{
    const bool bookAtRisk = session.eraseSent && !session.written;
    tell(session, host,
         bookAtRisk ? "携帯電話との通信が途切れました。携帯電話の電話帳は消去されたか、"
                      "途中までしか書き込まれていない可能性があります。"
                      "ケーブルの接続を確かめて、もう一度書き込んでください。"
                    : "携帯電話との通信が途切れました。ケーブルの接続を確かめてください。");
    escapeOnStop(session, port);
    host.endTransfer();
}

// The transition to state: its command goes out on the next tick.
void goTo(TransferSession& session, LinkState state, TransferPort& port)
{
    session.state = state;
    session.sendPending = true;
    port.resetReceive();
    session.awaitingReply = false;
}

StepResult finish(TransferSession& session)
{
    session.state = LINK_ATTENTION;
    return STEP_FINISH;
}

// The same command once more, up to MAX_RESENDS times; then the message and the end.
StepResult resend(TransferSession& session, TransferPort& port, TransferHost& host,
                  const char* failure)
{
    session.retryCount += 1;
    session.awaitingReply = false;
    port.resetReceive();
    session.sendPending = true;
    if (session.retryCount > MAX_RESENDS) {
        tell(session, host, failure);
        return finish(session);
    }
    return STEP_CONTINUE;
}

std::uint32_t bookCount(const TelBook& book)
{
    return std::min(book.count, MAX_TEL_ENTRIES);
}

void startEntries(TransferSession& session)
{
    session.entryIndex = 0;
    session.recordSlots = RecordSlots{};
    session.sentParts.reset();
}

// A read of the handset's book: the read itself, the backup before a write, or the check after.
void startReading(TransferSession& session, TransferPort& port, TransferHost& host)
{
    session.staging = std::make_unique<TelBook>();
    session.backupRecords.clear();
    announceStep(session, host, session.deviceCount);
    goTo(session, LINK_READ_ENTRY, port);
}

// What tells that the handset's book may have been changed since the read a write's backup came
// from: the handset reports another model or another count. Empty when nothing does.
QString changeSinceRead(const TransferSession& session)
{
    if (!session.readBefore)
        return {};
    const ReadBeforeWrite& read = *session.readBefore;
    QString change;
    if (read.model != QByteArray(session.modelName))
        change = QStringLiteral("携帯電話の機種が、読み込んだときと違います（%1 → %2）。")
                     .arg(QString::fromLatin1(read.model), QString::fromLatin1(session.modelName));
    else if (read.count != session.deviceCount)
        change = QStringLiteral("携帯電話の電話帳が、読み込んだときと変わっています（読み込んだ"
                                "ときは%1件、いまは%2件）。")
                     .arg(read.count)
                     .arg(session.deviceCount);
    else
        return {};
    return change + QLatin1Char('\n') + QString::fromUtf8(NOTHING_ERASED) +
           QStringLiteral("もう一度同期してください。");
}

StepResult onBookSupported(TransferSession& session, TransferPort& port, TransferHost& host)
{
    startEntries(session);
    const int count = session.deviceCount;
    if (const QString change = changeSinceRead(session);
        !change.isEmpty() && session.phase != PHASE_VERIFY) {
        session.failureShown = true;
        host.showMessage(change); // it says already that nothing was erased
        goTo(session, LINK_LEAVE_DATA, port);
        return STEP_CONTINUE;
    }
    switch (session.phase) {
    case PHASE_BACKUP:
        if (count == 0) {
            // A book the handset says is empty is erased only once a read confirms it.
            session.probingEmptyBook = true;
            session.staging = std::make_unique<TelBook>();
            goTo(session, LINK_READ_ENTRY, port);
        } else if (count > static_cast<int>(MAX_TEL_ENTRIES)) {
            tell(session, host, "電話帳登録件数が１０００件を越えています");
            goTo(session, LINK_LEAVE_DATA, port);
        } else {
            startReading(session, port, host);
        }
        return STEP_CONTINUE;
    case PHASE_VERIFY:
        if (count == 0) {
            session.staging = std::make_unique<TelBook>();
            checkWrittenBook(session, host);
            goTo(session, LINK_LEAVE_DATA, port);
        } else {
            startReading(session, port, host);
        }
        return STEP_CONTINUE;
    case PHASE_COPY:
        break;
    }
    if (host.operation() == OP_DEVICE_WRITE) {
        announceStep(session, host, static_cast<int>(bookCount(bookToWrite(session))));
        const bool erase = host.askYesNo(eraseQuestion(session));
        goTo(session, erase ? LINK_ERASE_ALL : LINK_LEAVE_DATA, port);
    } else if (count == 0 && session.emptyBookRead) {
        session.readBook = std::make_unique<TelBook>();
        clearBook(*session.readBook);
        session.completed = true;
        tellDone(host);
        goTo(session, LINK_LEAVE_DATA, port);
    } else if (count == 0) {
        tellFailure(session, host, "電話帳登録件数が０件です");
        goTo(session, LINK_LEAVE_DATA, port);
    } else if (count > static_cast<int>(MAX_TEL_ENTRIES)) {
        tellFailure(session, host, "電話帳登録件数が１０００件を越えています");
        goTo(session, LINK_LEAVE_DATA, port);
    } else {
        startReading(session, port, host);
    }
    return STEP_CONTINUE;
}

StepResult onBookInfo(TransferSession& session, QByteArrayView line, TransferPort& port,
                      TransferHost& host)
{
    const bool write = host.operation() == OP_DEVICE_WRITE;
    const BookInfo info = parseBookInfo(line, host.operation());
    session.deviceCount = info.deviceCount;
    // Before an erase, a count the handset left out is not taken as an empty book.
    if (info.result == BOOK_SUPPORTED && info.countEmpty && session.phase == PHASE_BACKUP) {
        tell(session, host, "コマンドが異常です。");
        goTo(session, LINK_LEAVE_DATA, port);
        return STEP_CONTINUE;
    }
    switch (info.result) {
    case BOOK_SUPPORTED:
        std::memcpy(session.modelName, info.model.data(), MODEL_NAME_SIZE);
        return onBookSupported(session, port, host);
    case BOOK_UNSUPPORTED_MODEL:
        tell(session, host,
             write ? "電話帳書込み未対応機種のため電話帳データコピーができません。"
                   : "電話帳読出し未対応機種のため電話帳データコピーができません。");
        break;
    case BOOK_MALFORMED:
        tell(session, host, "コマンドが異常です。");
        break;
    default:
        tell(session, host, "電話帳転送ができませんでした。");
        break;
    }
    goTo(session, LINK_LEAVE_DATA, port);
    return STEP_CONTINUE;
}

StepResult onEntryAck(TransferSession& session, QByteArrayView line, TransferPort& port,
                      TransferHost& host)
{
    if (!isEntryAck(line)) {
        tell(session, host, "電話帳データコピーが正常に行われませんでした。");
        goTo(session, LINK_LEAVE_DATA, port);
        return STEP_CONTINUE;
    }
    // An entry that did not fit one record goes on in the next frame.
    if (session.sentParts.all()) {
        session.entryIndex += 1;
        session.sentParts.reset();
    }
    if (static_cast<std::uint32_t>(session.entryIndex) >= bookCount(bookToWrite(session))) {
        session.written = true;
        if (session.verifyAfter) {
            session.nextPhaseDue = true; // the success message waits for the check
        } else {
            session.completed = true;
            tellDone(host);
        }
        goTo(session, LINK_LEAVE_DATA, port);
    } else {
        goTo(session, LINK_WRITE_ENTRY, port);
    }
    return STEP_CONTINUE;
}

// The answer to the first record asked of a handset that reported an empty book: a record
// means the count was wrong and the write stops; a refusal confirms the book is empty.
StepResult onEmptyBookProbe(TransferSession& session, bool recordCame, TransferPort& port,
                            TransferHost& host)
{
    session.probingEmptyBook = false;
    session.staging.reset();
    if (recordCame) {
        tell(session, host,
             "携帯電話は電話帳が０件と答えましたが、電話帳のデータを送ってきました。");
    } else {
        session.backupTaken = true; // an empty book gives no file
        session.nextPhaseDue = true;
    }
    goTo(session, LINK_LEAVE_DATA, port);
    return STEP_CONTINUE;
}

StepResult onEntryRecord(TransferSession& session, QByteArrayView line, TransferPort& port,
                         TransferHost& host)
{
    DeviceRecord record;
    if (session.probingEmptyBook)
        return onEmptyBookProbe(session, parseRecordReply(line, record), port, host);
    if (!session.staging || !parseRecordReply(line, record)) {
        tell(session, host, "電話帳データコピーが正常に行われませんでした。");
        goTo(session, LINK_LEAVE_DATA, port);
        return STEP_CONTINUE;
    }
    const RecordFlags flags =
        addRecordToBook(record, *session.staging, session.entryIndex, session.recordSlots);
    if (session.phase == PHASE_BACKUP || session.keepReadRecords)
        session.backupRecords << line.toByteArray();
    session.continued = flags.continued;
    session.lastRecord = flags.lastRecord;
    session.awaitingReply = false;
    port.resetReceive();
    session.sendPending = true;
    if (flags.lastRecord) {
        switch (session.phase) {
        case PHASE_COPY:
            // The handset's records are handed over only now that every one of them arrived.
            session.readBook = takeStagedBook(session);
            session.completed = true;
            tellDone(host);
            break;
        case PHASE_BACKUP:
            if (session.entryIndex < session.deviceCount)
                tell(
                    session, host,
                    QStringLiteral("携帯電話の電話帳を最後まで読めませんでした（%1件のうち%2件）。")
                        .arg(session.deviceCount)
                        .arg(session.entryIndex));
            else
                keepBackup(session, host);
            break;
        case PHASE_VERIFY:
            checkWrittenBook(session, host);
            break;
        }
        goTo(session, LINK_LEAVE_DATA, port);
    } else if (session.entryIndex >= static_cast<int>(MAX_TEL_ENTRIES)) {
        // The handset goes on past what the phone book can hold: stop rather than overrun.
        tell(session, host, "電話帳登録件数が１０００件を越えています");
        goTo(session, LINK_LEAVE_DATA, port);
    }
    return STEP_CONTINUE;
}

// The step after a backup (the write) or after a write (the check): a conversation of its own,
// from "AT" on, once the handset has left data-transfer mode.
void startNextPhase(TransferSession& session, TransferPort& port, TransferHost& host)
{
    session.phase = session.phase == PHASE_BACKUP ? PHASE_COPY : PHASE_VERIFY;
    session.nextPhaseDue = false;
    session.retryCount = 0;
    session.noReplyTicks = 0;
    session.escapeSent = false;
    session.makerSeen = false;
    session.identifyOkSeen = false;
    session.continued = false;
    session.lastRecord = false;
    startEntries(session);
    goTo(session, LINK_ATTENTION, port);
    announceStep(session, host);
}

void sendCommand(TransferSession& session, TransferPort& port, TransferHost& host)
{
    if (host.operation() == OP_DEVICE_WRITE && bookToWrite(session).count == 0) {
        tellFailure(session, host, "電話帳データがありません。");
        session.sendPending = false;
        session.awaitingReply = true;
        host.endTransfer();
        return;
    }
    if (session.state == LINK_ATTENTION)
        port.purgePort();
    if (session.state == LINK_LEAVE_DATA)
        port.resetReceive();
    buildCommand(session, bookToWrite(session));
    if (!port.writeCommand(session.txBuffer)) {
        tell(session, host, "送信に失敗しました");
        host.endTransfer();
        return;
    }
    if (session.state == LINK_ERASE_ALL)
        session.eraseSent = true;
    if (session.state == LINK_LEAVE_DATA)
        session.escapeSent = true;
    const QString entryNumber =
        QStringLiteral("%1件目").arg(session.entryIndex + 1, 4, 10, QLatin1Char('0'));
    const bool reading = session.state == LINK_READ_ENTRY && session.phase == PHASE_COPY;
    if (reading && session.deviceCount > 0) {
        // The handset has said how many entries it holds: the user sees how far the read is.
        host.showProgress(QStringLiteral("読み込み中 %1/%2件")
                              .arg(session.entryIndex + 1, 4, 10, QLatin1Char('0'))
                              .arg(session.deviceCount, 4, 10, QLatin1Char('0')));
        host.showShare(session.entryIndex + 1, session.deviceCount);
    } else if (session.state == LINK_READ_ENTRY)
        host.showProgress(
            (session.phase == PHASE_COPY ? QStringLiteral("読み込み中") : stepLabel(session)) +
            QLatin1Char(' ') + entryNumber);
    else if (session.state == LINK_WRITE_ENTRY)
        host.showProgress(QStringLiteral("書き込み中 ") + entryNumber);
    session.sendPending = false;
    port.resetReceive();
}

void sendPhase(TransferSession& session, TransferPort& port, TransferHost& host)
{
    if (session.sendPending)
        sendCommand(session, port, host);
    session.awaitingReply = true;
    session.noReplyTicks = 0;
}

// Takes what has arrived and handles one reply line, or at the fast pace every line there is,
// sending the next command as soon as a reply moved the transfer on. onTick: the call counts
// towards the no-reply limit.
void receiveReply(TransferSession& session, TransferPort& port, TransferHost& host, bool onTick)
{
    if (!port.pollReceive()) {
        linkLost(session, port, host);
        return;
    }
    bool handled = false;
    while (const std::optional<QByteArray> line = port.takeLine()) {
        handled = true;
        session.noReplyTicks = 0;
        const StepResult result = handleReplyLine(session, *line, port, host);
        if (result == STEP_FINISH) {
            host.endTransfer();
            return;
        }
        if (session.state == LINK_LEAVE_DATA)
            host.showClosing();
        // The rest of a reply that has begun is taken in the same tick when it is there.
        const bool replyBegun = session.state == LINK_IDENTIFY && session.makerSeen;
        if (!session.fastPace && !replyBegun)
            return;
        if (!session.awaitingReply) {
            sendPhase(session, port, host);
            return;
        }
    }
    if (handled || !onTick || ++session.noReplyTicks < NO_REPLY_TICK_LIMIT)
        return;
    // Nothing answered even the first command: most likely no handset is there to answer.
    if (session.state == LINK_ATTENTION)
        tell(session, host, noHandsetMessage(host.portName()));
    else
        tell(session, host, "応答がありません。");
    session.noReplyTicks = 0;
    session.awaitingReply = false;
    if (inDataMode(session) && session.state != LINK_LEAVE_DATA) {
        // The handset is in data-transfer mode: try to take it out again.
        port.resetReceive();
        port.dropReplyLine();
        session.sendPending = true;
        session.nextPhaseDue = false;
        session.state = LINK_LEAVE_DATA;
        host.showClosing();
    } else {
        host.endTransfer();
    }
}

} // namespace

QString noHandsetMessage(const QString& port)
{
    return (port.isEmpty() ? QString() : QStringLiteral("%1 に").arg(port)) +
           QStringLiteral("つながっている携帯電話から応答がありません。\n"
                          "次のことを確かめてください。\n"
                          "・ケーブルがパソコンと携帯電話にしっかりつながっている\n"
                          "・携帯電話の電源が入っている\n"
                          "・携帯電話が待受画面になっている（メニューや通話の画面ではない）");
}

void resetTransfer(TransferSession& session)
{
    session.sendPending = true;
    session.awaitingReply = false;
    session.retryCount = 0;
    session.noReplyTicks = 0;
    session.txBuffer.clear();
    session.entryIndex = 0;
    session.deviceCount = 0;
    std::memset(session.modelName, 0, sizeof session.modelName);
    session.sentParts.reset();
    session.recordSlots = RecordSlots{};
    session.makerSeen = false;
    session.identifyOkSeen = false;
    session.continued = false;
    session.lastRecord = false;
    session.completed = false;
    session.eraseSent = false;
    session.escapeSent = false;
    session.written = false;
    session.failureShown = false;
    session.checkDiffered = false;
    session.staging.reset();
    session.readBook.reset();
    session.phase = PHASE_COPY;
    session.backupFirst = false;
    session.verifyAfter = false;
    session.fastPace = false;
    session.nextPhaseDue = false;
    session.backupTaken = false;
    session.probingEmptyBook = false;
    session.backupPath.clear();
    session.backupRecords.clear();
}

void planTransfer(TransferSession& session, TransferHost& host, const TransferOptions& options)
{
    const bool write = host.operation() == OP_DEVICE_WRITE;
    session.backupFirst = write && options.backup;
    session.verifyAfter = write && options.verify;
    session.fastPace = options.fast;
    // A backup kept from the read before is not taken again; an empty book read is: its first
    // record is asked for before the erase, in case the count was wrong.
    const bool backupKept = session.readBefore && session.readBefore->count > 0;
    session.phase = session.backupFirst && !backupKept ? PHASE_BACKUP : PHASE_COPY;
    if (session.backupFirst && backupKept) {
        session.backupTaken = true;
        session.backupPath = session.readBefore->backupPath;
    }
    announceStep(session, host);
}

QByteArray linkCommand(LinkState state)
{
    switch (state) {
    case LINK_ATTENTION:
        return "AT\r\n";
    case LINK_IDENTIFY:
        return "ATI3\r\n";
    case LINK_ENTER_DATA:
        return "AT@S\r\n";
    case LINK_QUERY_BOOK:
        return "<1F>\r\n";
    case LINK_ERASE_ALL:
        return "<3:1H>\r\n";
    case LINK_LEAVE_DATA:
        return ESCAPE;
    case LINK_READ_ENTRY:
        return "<2:1H>\r\n";
    case LINK_WRITE_ENTRY:
        break;
    }
    return QByteArray();
}

void buildCommand(TransferSession& session, const TelBook& book)
{
    session.txBuffer =
        session.state == LINK_WRITE_ENTRY
            ? entryFrame(encodeEntryRecord(book.entries[session.entryIndex], session.entryIndex,
                                           session.modelName, session.sentParts))
            : linkCommand(session.state);
}

StepResult handleReplyLine(TransferSession& session, QByteArrayView line, TransferPort& port,
                           TransferHost& host)
{
    switch (session.state) {
    case LINK_ATTENTION:
        switch (classifyReply(line)) {
        case REPLY_OK:
            session.retryCount = 0;
            goTo(session, LINK_IDENTIFY, port);
            return STEP_CONTINUE;
        case REPLY_ECHO:
        case REPLY_EMPTY:
            return STEP_CONTINUE;
        default:
            return resend(session, port, host, "再送に失敗しました。(0)");
        }
    case LINK_IDENTIFY:
        switch (classifyIdentity(line)) {
        case REPLY_MAKER:
        case REPLY_OK:
            (classifyIdentity(line) == REPLY_MAKER ? session.makerSeen : session.identifyOkSeen) =
                true;
            if (!session.makerSeen || !session.identifyOkSeen)
                return STEP_CONTINUE;
            session.makerSeen = session.identifyOkSeen = false;
            session.retryCount = 0;
            goTo(session, LINK_ENTER_DATA, port);
            return STEP_CONTINUE;
        case REPLY_OTHER:
            tell(session, host, "ＱＶＲ製端末ではないため電話帳データコピーができません。");
            return finish(session);
        default:
            return STEP_CONTINUE;
        }
    case LINK_ENTER_DATA:
        switch (classifyReply(line)) {
        case REPLY_OK:
            session.retryCount = 0;
            goTo(session, LINK_QUERY_BOOK, port);
            return STEP_CONTINUE;
        case REPLY_ECHO:
        case REPLY_EMPTY:
            return STEP_CONTINUE;
        case REPLY_MAKER:
            return resend(session, port, host, "再送に失敗しました。(2)");
        default:
            tell(session, host, "データ転送モード起動に失敗しました。");
            return finish(session);
        }
    case LINK_QUERY_BOOK:
        return onBookInfo(session, line, port, host);
    case LINK_ERASE_ALL:
        if (isEntryAck(line)) {
            session.entryIndex = 0;
            goTo(session, LINK_WRITE_ENTRY, port);
        } else {
            tell(session, host, "電話帳データ全消去が正常に行われませんでした。");
            goTo(session, LINK_LEAVE_DATA, port);
        }
        return STEP_CONTINUE;
    case LINK_WRITE_ENTRY:
        return onEntryAck(session, line, port, host);
    case LINK_LEAVE_DATA:
        switch (classifyLeaveReply(line)) {
        case LeaveReply::Ignore:
            return STEP_CONTINUE;
        case LeaveReply::Failed:
            tell(session, host, "データ転送モードが正常に解除できませんでした。");
            break;
        case LeaveReply::Done:
            if (session.nextPhaseDue) {
                startNextPhase(session, port, host);
                return STEP_CONTINUE;
            }
            break;
        }
        session.entryIndex = 0;
        return finish(session);
    case LINK_READ_ENTRY:
        return onEntryRecord(session, line, port, host);
    }
    return STEP_CONTINUE;
}

void stepTransfer(TransferSession& session, TransferPort& port, TransferHost& host)
{
    if (session.awaitingReply)
        receiveReply(session, port, host, true);
    else
        sendPhase(session, port, host);
}

void takeArrivedReplies(TransferSession& session, TransferPort& port, TransferHost& host)
{
    if (session.fastPace && session.awaitingReply)
        receiveReply(session, port, host, false);
}

void escapeOnStop(TransferSession& session, TransferPort& port)
{
    if (session.state < LINK_ENTER_DATA || session.escapeSent)
        return;
    session.txBuffer = ESCAPE;
    port.dropReplyLine();
    // Nothing waits for the answer: the transfer is over whatever the handset says.
    port.writeOnce(session.txBuffer);
    session.escapeSent = true;
}

bool bookPartlyWritten(const TransferSession& session)
{
    return session.backupFirst && session.phase == PHASE_COPY && session.eraseSent &&
           !session.written;
}

QString withStopNote(const TransferSession& session, const QString& text)
{
    if (session.phase == PHASE_BACKUP)
        return text + QLatin1Char('\n') + QString::fromUtf8(NOTHING_ERASED);
    if (session.phase == PHASE_VERIFY && session.written && !session.checkDiffered)
        return text + QLatin1Char('\n') + QString::fromUtf8(WRITTEN_NOT_CHECKED);
    if (!bookPartlyWritten(session))
        return text;
    QString note =
        QStringLiteral("\n携帯電話の電話帳は、書き込む%1件のうち%2件までになっています。")
            .arg(bookCount(bookToWrite(session)))
            .arg(session.entryIndex);
    if (!session.backupPath.isEmpty())
        note += QStringLiteral("\n消去の前の電話帳は次のファイルにあります。「バックアップから"
                               "書き戻す…」でこのファイルを選ぶと、元に戻せます。\n") +
                QDir::toNativeSeparators(session.backupPath);
    return text + note;
}
