#include "exchange/core/vcard_reader.h"

#include "exchange/core/input_file.h"
#include "exchange/core/text_conversions.h"
#include "exchange/core/text_line_reader.h"
#include "exchange/core/vcard_key_words.h"
#include "phonebook/core/completion_placeholders.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// A line and its line end fit in 399 bytes; a longer one fails the import.
constexpr std::size_t LINE_BUFFER = 400;
// The decoded memo passes through a buffer of this size; only its first 100 bytes reach the
// entry.
constexpr std::size_t QP_DECODED_SIZE = 200;
// A joined quoted-printable value is kept up to this many characters, which already decode to
// more bytes than the buffer above takes (at most three characters per byte); the rest of a
// longer value is dropped, so no run of continuation lines can grow it without bound.
constexpr std::size_t QP_JOINED_LIMIT = 3 * QP_DECODED_SIZE;

const char* const CANCEL_QUESTION = "vCardインポート処理を中止しますか？";
const char* const NO_CARDS_MESSAGE = "vCardファイルに電話帳のデータがありません。";

struct KindWord {
    VCardKeyWord word;
    std::uint8_t kind;
};

// The first word found in the line decides; the order matters (HOME;VOICE;CELL is a phone).
constexpr KindWord TEL_KIND_WORDS[] = {
    {KW_WORK, TEL_OFFICE}, {KW_HOME, TEL_PHONE},       {KW_VOICE, TEL_PHONE},
    {KW_FAX, TEL_FAX},     {KW_CELL, TEL_MOBILE},      {KW_PCS, TEL_PHS},
    {KW_SHOP, TEL_PHONE},  {KW_RESTAURANT, TEL_PHONE}, {KW_HOSPITAL, TEL_PHONE},
    {KW_OTHER, TEL_PHONE}, {KW_X_NEC_PHS, TEL_PHS},
};
constexpr KindWord MAIL_KIND_WORDS[] = {
    {KW_INTERNET, MAIL_UNSPECIFIED}, {KW_CELL, MAIL_UNSPECIFIED}, {KW_PCS, MAIL_UNSPECIFIED},
    {KW_HOME, MAIL_UNSPECIFIED},     {KW_WORK, MAIL_OFFICE_PC},
};

template <std::size_t N> std::uint8_t kindFromWords(VCardKeyWords found, const KindWord (&words)[N])
{
    for (const KindWord& entry : words)
        if (found & keyWordBit(entry.word))
            return entry.kind;
    return 0;
}

// The text after the first ":" (the whole line when there is none).
const char* valueOf(const char* line)
{
    const char* colon = std::strchr(line, ':');
    return colon ? colon + 1 : line;
}

// The components of an N or SOUND value joined into one text, into out (as large as the line
// buffer); its length. The program's own files end the value with the four empty components
// they write, which go first, so that a name's last backslash is never taken for an escape of
// them. Then a backslash before ";" or before another backslash stands for that character, every
// other ";" separates and is left out, and any other backslash, like the trail byte 0x5C of a
// double-byte character, is text.
std::size_t joinedComponents(const char* line, char* out)
{
    const char* value = valueOf(line);
    std::size_t size = std::strlen(value);
    constexpr std::string_view EMPTY_COMPONENTS = ";;;;";
    if (std::string_view(value, size).ends_with(EMPTY_COMPONENTS))
        size -= EMPTY_COMPONENTS.size();
    std::size_t length = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = value[i];
        if (isSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < size) {
            out[length++] = c;
            out[length++] = value[++i];
        } else if (c == '\\' && i + 1 < size && (value[i + 1] == ';' || value[i + 1] == '\\')) {
            out[length++] = value[++i];
        } else if (c != ';') {
            out[length++] = c;
        }
    }
    out[length] = '\0';
    return length;
}

// A field that is written again keeps nothing of its earlier, longer value behind the NUL.
template <std::size_t N> void copyIntoField(char (&field)[N], const char* value)
{
    std::memset(field, 0, N);
    cutToField(field, N - 1, value);
}

// What a line, or a card, means for the import as a whole.
enum class Outcome { GO_ON, CARD_DONE, END_OF_FILE, STOPPED, FAILED, BAD_VERSION };

class VCardImport {
public:
    VCardImport(QIODevice& file, FileTaskHost& host)
        : lines_(file, LINE_BUFFER), host_(host), staging_(MAX_TEL_ENTRIES)
    {
    }

    int run(TelBook& book, const LocalClock& clock);

private:
    bool stopRequested();
    Outcome readCard(TelEntry& entry);
    Outcome readProperty(TelEntry& entry, char* raw, std::size_t length);
    Outcome readMemo(TelEntry& entry, const char* firstValue);
    int finish(TelBook& book, const LocalClock& clock);

    TextLineReader lines_;
    FileTaskHost& host_;
    std::vector<TelEntry> staging_;
    std::uint32_t cardCount_ = 0;
    int telSlot_ = 0;
    int mailSlot_ = 0;
};

bool VCardImport::stopRequested()
{
    return host_.pollCancel() && host_.askYesNo(QString::fromUtf8(CANCEL_QUESTION));
}

int VCardImport::run(TelBook& book, const LocalClock& clock)
{
    while (cardCount_ < MAX_TEL_ENTRIES) {
        if (stopRequested())
            return FILE_TASK_ENDED;
        telSlot_ = 0;
        mailSlot_ = 0;
        const TextLineReader::Status status = lines_.readLine();
        if (status == TextLineReader::END_OF_FILE)
            break;
        if (status == TextLineReader::BAD_LINE)
            return FILE_TASK_FAILED;
        if (!containsSjis(lines_.text(), "BEGIN:VCARD"))
            continue;
        const Outcome card = readCard(staging_[cardCount_]);
        if (card == Outcome::CARD_DONE)
            ++cardCount_;
        else if (card == Outcome::END_OF_FILE)
            break; // the unfinished card is dropped
        else if (card == Outcome::STOPPED)
            return FILE_TASK_ENDED;
        else if (card == Outcome::FAILED)
            return FILE_TASK_FAILED;
        else
            return FILE_TASK_BAD_VERSION;
    }
    return finish(book, clock);
}

// Reads the lines of one card up to its END:VCARD line.
Outcome VCardImport::readCard(TelEntry& entry)
{
    for (;;) {
        if (stopRequested())
            return Outcome::STOPPED;
        const TextLineReader::Status status = lines_.readLine();
        if (status == TextLineReader::END_OF_FILE)
            return Outcome::END_OF_FILE;
        if (status == TextLineReader::BAD_LINE)
            return Outcome::FAILED;
        const Outcome outcome = readProperty(entry, lines_.text(), lines_.length());
        if (outcome != Outcome::GO_ON)
            return outcome;
    }
}

Outcome VCardImport::readProperty(TelEntry& entry, char* raw, std::size_t length)
{
    // The key words are looked for in the line as read; the values are taken from it without
    // its line end, which is only ever its last byte.
    const VCardKeyWords found = findVCardKeyWords(raw);
    if (length > 0 && raw[length - 1] == '\n')
        raw[--length] = '\0';
    const char* line = raw;
    auto has = [found](VCardKeyWord word) { return (found & keyWordBit(word)) != 0; };

    if (has(KW_VERSION))
        return std::strcmp(line, "VERSION:2.1") == 0 ? Outcome::GO_ON : Outcome::BAD_VERSION;
    if (std::strncmp(line, "N;", 2) == 0) {
        char value[LINE_BUFFER];
        if (joinedComponents(line, value) > 0)
            copyIntoField(entry.name, value);
        return Outcome::GO_ON;
    }
    if (has(KW_SOUND)) {
        char value[LINE_BUFFER];
        if (const std::size_t size = joinedComponents(line, value); size > 0) {
            toHalfWidth(value, size + 1);
            copyIntoField(entry.furigana, value);
        }
        return Outcome::GO_ON;
    }
    if (has(KW_X_GNO)) {
        const char* value = valueOf(line);
        // A single character counts from "0" by its byte value, digit or not (A gives 17).
        entry.group = value[0] && !value[1] ? static_cast<std::uint8_t>(value[0] - '0') : 0;
        return Outcome::GO_ON;
    }
    if (has(KW_TEL)) {
        // A card has three number slots; a fourth TEL line has nowhere to go and is dropped.
        if (telSlot_ < TEL_SLOTS) {
            TelNumber& slot = entry.tel[telSlot_];
            slot.kind = kindFromWords(found, TEL_KIND_WORDS);
            copyIntoField(slot.number, valueOf(line));
        }
        ++telSlot_;
        return Outcome::GO_ON;
    }
    if (has(KW_EMAIL)) {
        if (mailSlot_ < MAIL_SLOTS) {
            MailAddress& slot = entry.mail[mailSlot_];
            slot.kind = kindFromWords(found, MAIL_KIND_WORDS);
            // An address is never cut: one too long for its field leaves the slot empty.
            const char* value = valueOf(line);
            const std::size_t size = std::strlen(value);
            if (size > 0 && size < sizeof slot.address)
                copyIntoField(slot.address, value);
        }
        ++mailSlot_;
        return Outcome::GO_ON;
    }
    if (has(KW_X_CLASS)) {
        const char* value = valueOf(line);
        entry.secret = !containsSjis(value, "PUBLIC") && containsSjis(value, "PRIVATE") ? 1 : 0;
        return Outcome::GO_ON;
    }
    if (has(KW_NOTE)) {
        const char* value = valueOf(line);
        if (!value[0])
            return Outcome::GO_ON;
        if (!has(KW_QUOTED_PRINTABLE)) {
            copyIntoField(entry.memo, value);
            return Outcome::GO_ON;
        }
        return readMemo(entry, value);
    }
    if (has(KW_END_VCARD))
        return Outcome::CARD_DONE;
    return Outcome::GO_ON;
}

// Joins the lines a soft line break ("=" at the end) continues, then decodes the memo.
Outcome VCardImport::readMemo(TelEntry& entry, const char* firstValue)
{
    // The joined value, kept up to QP_JOINED_LIMIT characters; one more line always fits.
    static_assert(LINE_BUFFER < QP_JOINED_LIMIT);
    char joined[QP_JOINED_LIMIT + LINE_BUFFER];
    std::size_t size = std::strlen(firstValue);
    std::memcpy(joined, firstValue, size);
    bool continued = joined[size - 1] == '=';
    bool cut = false;
    while (continued) {
        const TextLineReader::Status status = lines_.readLine();
        if (status == TextLineReader::END_OF_FILE)
            return Outcome::END_OF_FILE;
        if (status == TextLineReader::BAD_LINE)
            return Outcome::FAILED;
        std::string_view next(lines_.text(), lines_.length());
        if (!next.empty() && next.back() == '\n')
            next.remove_suffix(1);
        if (cut) {
            // Past the limit only the line itself can say whether the value goes on.
            continued = !next.empty() && next.back() == '=';
            continue;
        }
        --size; // the soft line break
        size += next.copy(joined + size, next.size());
        continued = size > 0 && joined[size - 1] == '=';
        if (size > QP_JOINED_LIMIT) {
            size = QP_JOINED_LIMIT;
            cut = true;
        }
    }
    joined[size] = '\0';
    char decoded[QP_DECODED_SIZE] = {};
    decodeQuotedPrintable(joined, decoded, sizeof decoded);
    copyIntoField(entry.memo, decoded);
    return Outcome::GO_ON;
}

int VCardImport::finish(TelBook& book, const LocalClock& clock)
{
    if (cardCount_ == 0) {
        host_.showMessage(QString::fromUtf8(NO_CARDS_MESSAGE));
        return FILE_TASK_DONE;
    }
    const QDateTime now = clock.now();
    for (std::uint32_t i = 0; i < cardCount_; ++i)
        completeImportedEntry(staging_[i], now);
    clearBook(book);
    std::copy_n(staging_.begin(), cardCount_, book.entries);
    book.count = cardCount_;
    return FILE_TASK_DONE;
}

} // namespace

void completeImportedEntry(TelEntry& entry, const QDateTime& time)
{
    if (!entry.furigana[0]) {
        const char* source = nullptr;
        for (const TelNumber& slot : entry.tel)
            if (!source && slot.number[0])
                source = slot.number;
        for (const MailAddress& slot : entry.mail)
            if (!source && slot.address[0])
                source = slot.address;
        if (source) {
            cutToField(entry.furigana, sizeof entry.furigana - 1, source);
        } else {
            std::snprintf(entry.furigana, sizeof entry.furigana, "%04d/%02d/%02d/ %02d:%02d",
                          time.date().year(), time.date().month(), time.date().day(),
                          time.time().hour(), time.time().minute());
        }
    }
    if (!entry.name[0])
        std::memcpy(entry.name, entry.furigana, sizeof entry.name);
    const bool noNumber = std::none_of(std::begin(entry.tel), std::end(entry.tel),
                                       [](const TelNumber& slot) { return slot.number[0]; });
    const bool noAddress = std::none_of(std::begin(entry.mail), std::end(entry.mail),
                                        [](const MailAddress& slot) { return slot.address[0]; });
    if (noNumber && noAddress)
        for (TelNumber& slot : entry.tel)
            std::strcpy(slot.number, COMPLETION_NUMBER);
}

int readVCard(QIODevice& file, FileTaskHost& host, TelBook& book, const LocalClock& clock)
{
    VCardImport import(file, host);
    return import.run(book, clock);
}

int readVCardFile(const QString& path, TelBook& book, FileTaskHost& host, const LocalClock& clock)
{
    // A device or pipe may never end; it fails like a file that cannot be opened.
    QFile file(path);
    if (!isPlainFileOrMissing(path) || !file.open(QIODevice::ReadOnly))
        return FILE_TASK_FAILED;
    return readVCard(file, host, book, clock);
}
