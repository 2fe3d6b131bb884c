#pragma once
// The conversation with the handset, one tick at a time: an AT-command phase that finds one of
// the maker's handsets and switches it into data-transfer mode, a framed phase that erases and
// writes or reads the phone book, and "+++" to leave data-transfer mode.

#include "device/core/device_record.h"
#include "device/core/reply_parsers.h"
#include "device/core/transfer_options.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class TransferHost;
class TransferPort;

// The numbers matter: the cancel button treats every state from LINK_ENTER_DATA on as one in
// which the handset may be in data-transfer mode.
enum LinkState : std::uint8_t {
    LINK_ATTENTION = 0,   // "AT"
    LINK_IDENTIFY = 1,    // "ATI3"
    LINK_ENTER_DATA = 2,  // "AT@S"
    LINK_QUERY_BOOK = 3,  // "<1F>"
    LINK_ERASE_ALL = 4,   // "<3:1H>"
    LINK_WRITE_ENTRY = 8, // an entry frame
    LINK_LEAVE_DATA = 9,  // "+++"
    LINK_READ_ENTRY = 18, // "<2:1H>"
};

enum StepResult { STEP_CONTINUE = 0, STEP_FINISH = 1 };

// A write may run as three conversations with the handset, each from "AT" to "+++": the
// handset's book read and kept before the erase, the write itself, and the book read back and
// compared after it.
enum TransferPhase : std::uint8_t {
    PHASE_COPY,   // the read or the write itself
    PHASE_BACKUP, // before a write: the handset's book is read and kept
    PHASE_VERIFY, // after a write: the handset's book is read back and compared
};

// No answer at all to the first command: where the handset was looked for and what to check.
QString noHandsetMessage(const QString& port);

inline constexpr const char* COPY_DONE_MESSAGE = "電話帳データコピーが正常に終了しました。";
inline constexpr const char* NOTHING_ERASED = "携帯電話の電話帳は消去していません。";
inline constexpr const char* VERIFIED_MESSAGE =
    "電話帳データコピーが正常に終了しました。\n"
    "書き込んだ電話帳を読み戻して、書き込んだとおりであることを確認しました。";

constexpr int NO_REPLY_TICK_LIMIT = 150; // about 15 seconds of 100 ms ticks
constexpr int MAX_RESENDS = 3;

// The handset's book as a read just before a write found it, kept as the write's backup (a
// sync reads the book once and writes from what it read).
struct ReadBeforeWrite {
    QString backupPath; // empty: the handset's book was empty
    int count = 0;
    QByteArray model;
};

struct TransferSession {
    LinkState state = LINK_ATTENTION;
    bool sendPending = true;              // the next send-phase tick sends the command of state
    bool awaitingReply = false;           // a command is out
    int retryCount = 0;                   // resends in the current AT-phase state
    int noReplyTicks = 0;                 // reply-phase ticks in a row without a complete line
    QByteArray txBuffer;                  // the command to send
    int entryIndex = 0;                   // the entry being written or read
    int deviceCount = 0;                  // entries the handset reported
    char modelName[MODEL_NAME_SIZE] = {}; // the handset's model, as it reported it
    SentParts sentParts;
    RecordSlots recordSlots;
    // The two lines of the answer to "ATI3" seen so far: the maker's name and "OK". The next
    // command goes out only once both have arrived, however far apart.
    bool makerSeen = false;
    bool identifyOkSeen = false;
    bool continued = false;     // the last record received said the entry goes on
    bool lastRecord = false;    // the last record received was the handset's last
    bool completed = false;     // the copy itself succeeded (the success message was shown)
    bool eraseSent = false;     // "<3:1H>" went out: the handset's book may now be incomplete
    bool escapeSent = false;    // "+++" went out: it is never sent twice in one conversation
    bool written = false;       // every entry of a write was acknowledged
    bool failureShown = false;  // a failure message was shown (after a copy: the mode was not left)
    bool checkDiffered = false; // the check read the book back and found it different
    // The book a write sends and its check compares with; none for a read.
    const TelBook* book = nullptr;
    // A read fills this book and hands it over as readBook only when the last record has
    // arrived, so a read that stops early leaves the phone book as it was.
    std::unique_ptr<TelBook> staging;
    std::unique_ptr<TelBook> readBook;

    TransferPhase phase = PHASE_COPY;
    bool backupFirst = false;  // a write backs the handset's book up before the erase
    bool verifyAfter = false;  // a write reads the book back and compares it
    bool fastPace = false;     // the next command goes out as soon as a reply was handled
    bool nextPhaseDue = false; // this phase succeeded: the next starts once "+++" is answered
    bool backupTaken = false;  // the backup phase ended well (backupPath empty: nothing to keep)
    // The handset reported an empty book before a backup: its first record is asked for all the
    // same, and one that comes back stops the write.
    bool probingEmptyBook = false;
    QString backupPath;
    // The record lines of the backup read, exactly as the handset sent them; of a read too when
    // keepReadRecords is set, so that what it read can become a write's backup.
    QList<QByteArray> backupRecords;
    bool keepReadRecords = false;
    // A read of a handset that reports no entries completes with an empty book (a sync) instead
    // of failing.
    bool emptyBookRead = false;
    // A write after a read of the same handset (a sync): the handset's book is erased only while
    // it reports the model and the count of that read; a book that read was not empty is the
    // write's backup, kept already, so there is no backup phase.
    std::optional<ReadBeforeWrite> readBefore;
};

// Readies the session for a new transfer at the normal pace, without backup or check; the state
// is kept (the commands set it).
void resetTransfer(TransferSession& session);
// After resetTransfer: the backup, the check and the pace of options, for the operation of host.
void planTransfer(TransferSession& session, TransferHost& host, const TransferOptions& options);

// The command of state, for every state but LINK_WRITE_ENTRY (whose frame depends on the entry):
// "AT\r\n", "<1F>\r\n", "+++" and so on.
QByteArray linkCommand(LinkState state);

// Puts the command of the session's state into its transmit buffer.
void buildCommand(TransferSession& session, const TelBook& book);

// The state machine over one reply line (without its CR LF).
StepResult handleReplyLine(TransferSession& session, QByteArrayView line, TransferPort& port,
                           TransferHost& host);

// One tick: sends the command of the state, or handles at most one reply line. A write sends
// session.book; a read that completes leaves the handset's book in session.readBook.
void stepTransfer(TransferSession& session, TransferPort& port, TransferHost& host);

// Bytes arrived from the handset. At the fast pace the reply is handled at once (and the next
// command sent), without waiting for the next tick; at the normal pace nothing happens.
void takeArrivedReplies(TransferSession& session, TransferPort& port, TransferHost& host);

// True between the erase and the last entry of a write that keeps a backup: stopping now leaves
// the handset with part of the book.
bool bookPartlyWritten(const TransferSession& session);

// text, and when the transfer stops while the backup is being taken, that nothing was erased;
// when it stops while a written book is being read back, that the write finished unchecked;
// when it stops with the book partly written, how many entries the handset holds and where the
// backup is.
QString withStopNote(const TransferSession& session, const QString& text);

// A transfer stopped from outside (the cancel button): "+++" goes out once, without waiting for
// an answer, when the handset may be in data-transfer mode (LINK_ENTER_DATA on) and has not been
// sent it yet.
void escapeOnStop(TransferSession& session, TransferPort& port);
