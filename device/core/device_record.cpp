#include "device/core/device_record.h"

#include "exchange/core/text_conversions.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct KindCode {
    std::uint8_t t1;
    std::uint8_t t2;
};

constexpr std::uint8_t T2_NAME = 0x02;
constexpr std::uint8_t T2_FURIGANA = 0x01;
constexpr std::uint8_t T2_MEMO = 0x0E;
constexpr std::uint8_t T2_MAIL = 0x09;
constexpr std::uint8_t T1_OFFICE = 2;

KindCode telKindCode(std::uint8_t kind)
{
    switch (kind) {
    case TEL_MOBILE:
        return {1, 6};
    case TEL_PHS:
        return {1, 5};
    case TEL_OFFICE:
        return {2, 3};
    case TEL_FAX:
        return {1, 4};
    default:
        return {1, 3};
    }
}

std::uint8_t telKindOf(std::uint8_t t1, std::uint8_t t2)
{
    if (t1 == T1_OFFICE)
        return TEL_OFFICE;
    switch (t2) {
    case 4:
        return TEL_FAX;
    case 5:
        return TEL_PHS;
    case 6:
        return TEL_MOBILE;
    default:
        return TEL_PHONE; // 3, 7 and 8
    }
}

std::size_t textLength(const char* field, std::size_t fieldSize)
{
    return strnlen(field, fieldSize - 1);
}

class RecordWriter {
public:
    explicit RecordWriter(DeviceRecord& record) : record_(record) {}

    int position() const { return p_; }
    bool fits(std::size_t dataBytes) const
    {
        return p_ + dataBytes + 3 <= static_cast<std::size_t>(RECORD_FIELDS_LIMIT);
    }
    void field(std::uint8_t t1, std::uint8_t t2, QByteArrayView data, bool leadingZero = false)
    {
        put(t1);
        put(t2);
        put(static_cast<std::uint8_t>(data.size() + (leadingZero ? 1 : 0)));
        if (leadingZero)
            put(0x00);
        for (char byte : data)
            put(static_cast<std::uint8_t>(byte));
    }

private:
    void put(std::uint8_t byte) { record_.bytes[p_++] = byte; }

    DeviceRecord& record_;
    std::size_t p_ = RECORD_FIELDS_OFFSET;
};

// Copies n bytes of received text into a field of fieldSize bytes, cut to the field.
void storeText(char* field, std::size_t fieldSize, const std::uint8_t* data, std::size_t n)
{
    const std::string text(reinterpret_cast<const char*>(data), n);
    cutToField(field, fieldSize - 1, text.c_str());
}

} // namespace

DeviceRecord encodeEntryRecord(const TelEntry& entry, int entryIndex, const char* modelName,
                               SentParts& sentParts)
{
    DeviceRecord record;
    std::copy(RECORD_HEADER.begin(), RECORD_HEADER.end(), record.bytes.begin() + 1);
    std::uint8_t flags = entryIndex % 2 == 0 ? RECORD_EVEN : 0;
    RecordWriter writer(record);

    auto text = [](const char* field, std::size_t size) {
        return QByteArrayView(field, static_cast<qsizetype>(textLength(field, size)));
    };
    auto sendText = [&](EntryPart part, std::uint8_t t2, QByteArrayView data) {
        if (!sentParts[part] && !data.isEmpty())
            writer.field(1, t2, data);
        sentParts[part] = true;
    };
    sendText(PART_NAME, T2_NAME, text(entry.name, sizeof entry.name));
    sendText(PART_FURIGANA, T2_FURIGANA, text(entry.furigana, sizeof entry.furigana));
    if (!sentParts[PART_GROUP]) {
        const auto value =
            static_cast<char>(((entry.group & 0x1F) << 2) | (entry.secret ? 0x80 : 0x00));
        writer.field(0x00, 0x01, QByteArrayView(&value, 1));
        sentParts[PART_GROUP] = true;
    }
    for (int i = 0; i < TEL_SLOTS; ++i) {
        const TelNumber& tel = entry.tel[i];
        const QByteArrayView number = text(tel.number, sizeof tel.number);
        if (!sentParts[PART_TEL0 + i] && !number.isEmpty()) {
            const KindCode code = telKindCode(tel.kind);
            writer.field(code.t1, code.t2, number, true);
        }
        sentParts[PART_TEL0 + i] = true;
    }

    // Addresses and the memo wait for the next record once one of them does not fit; the
    // ones after it wait too, so the handset receives them in order.
    bool deferred = false;
    auto sendIfFits = [&](EntryPart part, std::uint8_t t1, std::uint8_t t2, QByteArrayView data) {
        if (deferred || sentParts[part])
            return;
        if (!data.isEmpty()) {
            if (!writer.fits(static_cast<std::size_t>(data.size()))) {
                deferred = true;
                return;
            }
            writer.field(t1, t2, data);
        }
        sentParts[part] = true;
    };
    for (int i = 0; i < MAIL_SLOTS; ++i) {
        const MailAddress& mail = entry.mail[i];
        sendIfFits(static_cast<EntryPart>(PART_MAIL0 + i),
                   mail.kind == MAIL_OFFICE_PC ? T1_OFFICE : 1, T2_MAIL,
                   text(mail.address, sizeof mail.address));
    }
    if (std::strcmp(modelName, MODEL_WITHOUT_MEMO) == 0)
        sentParts[PART_MEMO] = true;
    else
        sendIfFits(PART_MEMO, 1, T2_MEMO, text(entry.memo, sizeof entry.memo));

    record.bytes[0] = static_cast<std::uint8_t>(writer.position());
    if (!deferred)
        flags |= RECORD_COMPLETE;
    record.bytes[RECORD_FLAGS_OFFSET] = flags;
    return record;
}

RecordFlags decodeEntryRecord(const DeviceRecord& record, TelEntry& entry, RecordSlots& recordSlots)
{
    const std::uint8_t* b = record.bytes.data();
    const std::size_t length = static_cast<std::size_t>(record.length());
    RecordFlags flags;
    if (length <= static_cast<std::size_t>(RECORD_FLAGS_OFFSET))
        return flags;
    flags.continued = (b[RECORD_FLAGS_OFFSET] & RECORD_COMPLETE) == 0;
    flags.lastRecord = (b[RECORD_FLAGS_OFFSET] & RECORD_LAST) != 0;

    std::size_t p = RECORD_FIELDS_OFFSET;
    while (p + 3 <= length) {
        const std::uint8_t t1 = b[p];
        const std::uint8_t t2 = b[p + 1];
        const std::size_t n = b[p + 2];
        const std::uint8_t* data = b + p + 3;
        // A field that claims more bytes than the record holds keeps the ones it has.
        const std::size_t available = std::min(n, length - (p + 3));
        if (t1 == 0 && t2 == 1) {
            if (available >= 1) {
                entry.secret = (data[0] & 0x80) ? 1 : 0;
                entry.group = (data[0] >> 2) & 0x1F;
            }
        } else if ((t1 == 1 || t1 == 2) && t2 == T2_NAME) {
            storeText(entry.name, sizeof entry.name, data, available);
        } else if ((t1 == 1 || t1 == 2) && t2 == T2_FURIGANA) {
            storeText(entry.furigana, sizeof entry.furigana, data, available);
        } else if ((t1 == 1 || t1 == 2) && t2 == T2_MEMO) {
            storeText(entry.memo, sizeof entry.memo, data, available);
        } else if ((t1 == 1 || t1 == 2) && t2 >= 3 && t2 <= 8) {
            if (recordSlots.telSlot < TEL_SLOTS) {
                TelNumber& tel = entry.tel[recordSlots.telSlot++];
                // The number follows a 0x00 byte; a field too short for it leaves the number
                // empty.
                if (available >= 1)
                    storeText(tel.number, sizeof tel.number, data + 1, available - 1);
                tel.kind = telKindOf(t1, t2);
            }
        } else if ((t1 == 1 || t1 == 2) && t2 == T2_MAIL) {
            if (recordSlots.mailSlot < MAIL_SLOTS) {
                MailAddress& mail = entry.mail[recordSlots.mailSlot++];
                storeText(mail.address, sizeof mail.address, data, available);
                if (n > 0)
                    mail.kind = t1 == T1_OFFICE ? MAIL_OFFICE_PC : MAIL_UNSPECIFIED;
            }
        } else {
            ++p; // not a field the PC knows: look for one at the next byte
            continue;
        }
        p += n + 3;
    }
    return flags;
}

QByteArray entryFrame(const DeviceRecord& record)
{
    QByteArray frame("<1:1:");
    frame.reserve(5 + 3 * record.length() + 4);
    for (int i = 0; i < record.length(); ++i) {
        const std::uint8_t b = record.bytes[i];
        frame.append(static_cast<char>('0' + b / 100));
        frame.append(static_cast<char>('0' + b % 100 / 10));
        frame.append(static_cast<char>('0' + b % 10));
    }
    frame.append("H>\r\n");
    return frame;
}

std::uint8_t tripletValue(char d1, char d2, char d3)
{
    return static_cast<std::uint8_t>((d1 & 0x0F) * 100 + (d2 & 0x0F) * 10 + (d3 & 0x0F));
}

bool parseRecordReply(QByteArrayView line, DeviceRecord& record)
{
    if (line.isEmpty() || line[0] != '<')
        return false;
    if (line.size() >= 4 && line[3] == '>' && (line[2] == 'h' || line[2] == 'b'))
        return false;
    if (!line.startsWith("<1:1:"))
        return false;
    constexpr qsizetype FIRST = 5;
    if (line.size() < FIRST + 3)
        return false;
    const int length = tripletValue(line[FIRST], line[FIRST + 1], line[FIRST + 2]);
    // Without its flags byte a record cannot say whether the entry or the book goes on, and a
    // record cut short in transit would store a damaged entry.
    if (length <= RECORD_FLAGS_OFFSET || line.size() < FIRST + 3 * length)
        return false;
    record = DeviceRecord{};
    for (int i = 0; i < length; ++i) {
        const qsizetype at = FIRST + 3 * i;
        record.bytes[i] = tripletValue(line[at], line[at + 1], line[at + 2]);
    }
    return true;
}
