#include "exchange/core/vcard_writer.h"

#include "exchange/core/save_sink.h"
#include "exchange/core/text_conversions.h"
#include "phonebook/core/app_state.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Encoded memos are cut into pieces of 67 to 69 characters, never inside an escape.
constexpr qsizetype MEMO_PIECE = 69;

const char* const CANCEL_QUESTION = "保存処理を中止しますか？";

const char* telWord(std::uint8_t kind)
{
    switch (kind) {
    case TEL_MOBILE:
        return "CELL:";
    case TEL_PHS:
        return "PCS:";
    case TEL_OFFICE:
        return "WORK:";
    case TEL_FAX:
        return "FAX:";
    default:
        return "VOICE:";
    }
}

const char* mailWord(std::uint8_t kind)
{
    return kind == MAIL_OFFICE_PC ? "WORK:" : "INTERNET:";
}

// The text of a fixed field, never reading past it.
template <std::size_t N> QByteArray fieldText(const char (&field)[N])
{
    return QByteArray(field, static_cast<qsizetype>(strnlen(field, N)));
}

void addLine(QByteArray& card, const QByteArray& line)
{
    card += line;
    card += "\r\n";
}

// The user asked to stop since the last poll and confirmed it.
bool stopRequested(FileTaskHost& host)
{
    return host.pollCancel() && host.askYesNo(QString::fromUtf8(CANCEL_QUESTION));
}

} // namespace

QByteArray vcardRevisionLine(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "REV:%04d%02d%02dT%02d%02d%02dZ", date.year(), date.month(),
                  date.day(), time.hour(), time.minute(), time.second());
    return QByteArray(stamp);
}

std::vector<QByteArray> vcardMemoLines(const QByteArray& memo)
{
    if (memo.isEmpty())
        return {QByteArray("NOTE:")};
    char encoded[QP_ENCODED_SIZE] = {};
    encodeQuotedPrintable(memo.constData(), encoded);

    std::vector<QByteArray> lines;
    QByteArray rest(encoded);
    while (rest.size() >= MEMO_PIECE) {
        // An escape that would reach past the piece moves whole to the next line.
        const qsizetype lastEscape =
            rest.first(std::min<qsizetype>(rest.size(), 70)).lastIndexOf('=');
        const qsizetype cut = lastEscape >= MEMO_PIECE - 2 ? lastEscape : MEMO_PIECE;
        lines.push_back(rest.first(cut) + '=');
        rest.remove(0, cut);
    }
    lines.push_back(rest);
    lines.front().prepend("NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:");
    return lines;
}

QByteArray vcardCard(const TelEntry& entry, const QByteArray& revisionLine)
{
    QByteArray card;
    card.reserve(1024);
    addLine(card, "BEGIN:VCARD");
    addLine(card, "VERSION:2.1");
    addLine(card, QByteArray("N;CHARSET=SHIFT_JIS:") + fieldText(entry.name) + ";;;;");
    addLine(card,
            QByteArray("SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:") + fieldText(entry.furigana) + ";;;;");
    addLine(card, "X-GNO:" + QByteArray::number(entry.group));
    for (int s = 0; s < TEL_SLOTS; ++s)
        addLine(card, QByteArray(s == 0 ? "TEL;PREF;" : "TEL;") + telWord(entry.tel[s].kind) +
                          fieldText(entry.tel[s].number));
    for (int s = 0; s < MAIL_SLOTS; ++s)
        addLine(card, QByteArray(s == 0 ? "EMAIL;PREF;" : "EMAIL;") + mailWord(entry.mail[s].kind) +
                          fieldText(entry.mail[s].address));
    addLine(card, entry.secret == 1 ? "X-CLASS:PRIVATE" : "X-CLASS:PUBLIC");
    for (const QByteArray& line : vcardMemoLines(fieldText(entry.memo)))
        addLine(card, line);
    addLine(card, revisionLine);
    addLine(card, "END:VCARD");
    return card;
}

int writeVCard(const TelBook& book, SaveSink& sink, FileTaskHost& host, const QDateTime& startTime)
{
    const QByteArray revisionLine = vcardRevisionLine(startTime);
    const std::uint32_t count = std::min(book.count, MAX_TEL_ENTRIES);

    std::vector<QByteArray> cards;
    cards.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stopRequested(host))
            return FILE_TASK_ENDED; // nothing has been touched yet
        cards.push_back(vcardCard(book.entries[i], revisionLine));
    }

    if (!sink.open())
        return FILE_TASK_FAILED;
    for (const QByteArray& card : cards) {
        if (stopRequested(host)) {
            sink.discard();
            return FILE_TASK_ENDED;
        }
        if (!sink.write(card)) {
            const int error = sink.lastError();
            sink.discard();
            host.showMessage(QString::fromUtf8(saveErrorMessage(error)));
            return FILE_TASK_ENDED;
        }
    }
    if (!sink.commit()) {
        const int error = sink.lastError();
        sink.discard();
        host.showMessage(QString::fromUtf8(saveErrorMessage(error)));
        return FILE_TASK_ENDED;
    }
    return FILE_TASK_DONE;
}

int writeVCardFile(const QString& path, const TelBook& book, FileTaskHost& host,
                   const LocalClock& clock)
{
    if (path.isEmpty())
        return FILE_TASK_NOTHING;
    const QDateTime startTime = clock.now();
    SaveFileSink sink(path);
    return writeVCard(book, sink, host, startTime);
}

int writeVCardFile(FileTaskHost& host, const LocalClock& clock)
{
    return writeVCardFile(appState().filePath, telBook(), host, clock);
}
