#include "exchange/core/vcard_writer.h"

#include "exchange/core/save_sink.h"
#include "exchange/core/text_conversions.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Encoded memos are cut into pieces of 67 to 69 characters, never inside an escape.
constexpr std::size_t MEMO_PIECE = 69;

const char* const CANCEL_QUESTION = "保存処理を中止しますか？";

std::string_view telWord(std::uint8_t kind)
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

std::string_view mailWord(std::uint8_t kind)
{
    return kind == MAIL_OFFICE_PC ? "WORK:" : "INTERNET:";
}

// Cards are handed to the file in blocks of about this size: few system calls, and a failing
// write still reports the system's own error for the bytes it could not take.
constexpr std::size_t WRITE_BLOCK = 64 * 1024;

constexpr std::string_view MEMO_HEADER = "NOTE;CHARSET=SHIFT_JIS;ENCODING=QUOTED-PRINTABLE:";

// Room for a card up to its revision line: the fixed words and line ends take less than 512
// bytes, the fields at most their sizes, and the encoded memo with its soft line breaks less
// than two encoder buffers.
constexpr std::size_t CARD_ROOM = 512 + sizeof(TelEntry) + 2 * QP_ENCODED_SIZE;

// The text of a card, put together in a buffer of CARD_ROOM bytes.
class CardText {
public:
    explicit CardText(char* buffer) : begin_(buffer), at_(buffer) {}

    CardText& operator<<(std::string_view piece)
    {
        std::memcpy(at_, piece.data(), piece.size());
        at_ += piece.size();
        return *this;
    }
    CardText& operator<<(unsigned number)
    {
        char digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0);
        while (count > 0)
            *at_++ = digits[--count];
        return *this;
    }
    void endLine() { *this << "\r\n"; }

    std::string_view text() const
    {
        return std::string_view(begin_, static_cast<std::size_t>(at_ - begin_));
    }

private:
    char* begin_;
    char* at_;
};

// The text of a fixed field, never reading past it.
template <std::size_t N> std::string_view fieldText(const char (&field)[N])
{
    return std::string_view(field, strnlen(field, N));
}

// A name or reading as one component of the N or SOUND value: a ";" would split it, so it is
// written as a backslash and the ";", and a backslash that a reader would take for the start of
// such an escape (one before ";", before another backslash or at the end) is doubled. Every other
// backslash, and every trail byte 0x5C of a double-byte character (表, ソ), stays as it is, so the
// files of earlier versions and these read alike wherever a name holds no ";".
std::string escapedComponent(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        const bool last = i + 1 == text.size();
        if (c == ';' || (c == '\\' && (last || text[i + 1] == ';' || text[i + 1] == '\\')))
            out += '\\';
        out += c;
    }
    return out;
}

// The memo's NOTE line and its continuation lines, each with its CR LF.
void addMemoLines(CardText& card, std::string_view memo)
{
    if (memo.empty()) {
        (card << "NOTE:").endLine();
        return;
    }
    // Each byte takes at least one of the at most QP_ENCODED_SIZE - 1 encoded characters, so
    // bytes beyond that many could never show.
    char memoText[QP_ENCODED_SIZE] = {};
    memo.copy(memoText, QP_ENCODED_SIZE - 1);
    char encoded[QP_ENCODED_SIZE] = {};
    encodeQuotedPrintable(memoText, encoded);

    std::string_view rest(encoded);
    card << MEMO_HEADER;
    while (rest.size() >= MEMO_PIECE) {
        // An escape that would reach past the piece moves whole to the next line.
        const std::size_t lastEscape = rest.substr(0, 70).rfind('=');
        const std::size_t cut = lastEscape != std::string_view::npos && lastEscape >= MEMO_PIECE - 2
                                    ? lastEscape
                                    : MEMO_PIECE;
        (card << rest.substr(0, cut) << "=").endLine();
        rest.remove_prefix(cut);
    }
    (card << rest).endLine();
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
    char buffer[CARD_ROOM];
    CardText text(buffer);
    addMemoLines(text, std::string_view(memo.constData(), static_cast<std::size_t>(memo.size())));
    std::vector<QByteArray> lines;
    for (std::string_view rest = text.text(); !rest.empty();) {
        const std::size_t end = rest.find("\r\n");
        lines.emplace_back(rest.data(), static_cast<qsizetype>(end));
        rest.remove_prefix(end + 2);
    }
    return lines;
}

void appendVCardCard(std::string& out, const TelEntry& entry, std::string_view revisionLine)
{
    char buffer[CARD_ROOM];
    CardText card(buffer);
    (card << "BEGIN:VCARD").endLine();
    (card << "VERSION:2.1").endLine();
    (card << "N;CHARSET=SHIFT_JIS:" << escapedComponent(fieldText(entry.name)) << ";;;;").endLine();
    (card << "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:" << escapedComponent(fieldText(entry.furigana))
          << ";;;;")
        .endLine();
    (card << "X-GNO:" << unsigned{entry.group}).endLine();
    for (int s = 0; s < TEL_SLOTS; ++s)
        (card << (s == 0 ? "TEL;PREF;" : "TEL;") << telWord(entry.tel[s].kind)
              << fieldText(entry.tel[s].number))
            .endLine();
    for (int s = 0; s < MAIL_SLOTS; ++s)
        (card << (s == 0 ? "EMAIL;PREF;" : "EMAIL;") << mailWord(entry.mail[s].kind)
              << fieldText(entry.mail[s].address))
            .endLine();
    (card << (entry.secret == 1 ? "X-CLASS:PRIVATE" : "X-CLASS:PUBLIC")).endLine();
    addMemoLines(card, fieldText(entry.memo));
    // The revision line comes from the caller and may be of any length.
    out.append(card.text());
    out.append(revisionLine);
    out.append("\r\nEND:VCARD\r\n");
}

QByteArray vcardCard(const TelEntry& entry, const QByteArray& revisionLine)
{
    std::string card;
    appendVCardCard(
        card, entry,
        std::string_view(revisionLine.constData(), static_cast<std::size_t>(revisionLine.size())));
    return QByteArray(card.data(), static_cast<qsizetype>(card.size()));
}

int writeVCard(const TelBook& book, SaveSink& sink, FileTaskHost& host, const QDateTime& startTime)
{
    const QByteArray revisionLine = vcardRevisionLine(startTime);
    const std::string_view revision(revisionLine.constData(),
                                    static_cast<std::size_t>(revisionLine.size()));
    const std::uint32_t count = std::min(book.count, MAX_TEL_ENTRIES);

    // Build phase: every card into one buffer, remembering where each ends.
    std::string cards;
    cards.reserve(static_cast<std::size_t>(count) * 1024);
    std::vector<std::size_t> cardEnds;
    cardEnds.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stopRequested(host))
            return FILE_TASK_ENDED; // nothing has been touched yet
        appendVCardCard(cards, book.entries[i], revision);
        cardEnds.push_back(cards.size());
    }

    // Write phase: still asked before each card, the cards go out a block at a time.
    auto failed = [&sink, &host] {
        const int error = sink.lastError();
        sink.discard();
        host.showMessage(QString::fromUtf8(saveErrorMessage(error)));
        return FILE_TASK_ENDED;
    };
    if (!sink.open()) {
        // A known reason (a missing folder, a read-only disk) is said as for a failed write;
        // otherwise the caller's own message stands.
        if (saveErrorHasReason(sink.lastError()))
            return failed();
        return FILE_TASK_FAILED;
    }
    std::size_t written = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (stopRequested(host)) {
            sink.discard();
            return FILE_TASK_ENDED;
        }
        const std::size_t end = cardEnds[i];
        if (end - written >= WRITE_BLOCK || i + 1 == count) {
            if (!sink.write(
                    QByteArrayView(cards.data() + written, static_cast<qsizetype>(end - written))))
                return failed();
            written = end;
        }
    }
    if (!sink.commit())
        return failed();
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
