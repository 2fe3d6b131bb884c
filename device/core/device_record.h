#pragma once
// A phone book entry as the handset stores it: one to three binary records of at most 255 bytes
// (length, header "DDIP " 0 8, flags, typed fields), sent as decimal triplets inside a frame.

#include "phonebook/core/tel_entry.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <bitset>
#include <cstdint>

constexpr int RECORD_FIELDS_LIMIT = 255;
constexpr std::array<std::uint8_t, 7> RECORD_HEADER = {0x44, 0x44, 0x49, 0x50, 0x20, 0x00, 0x08};
constexpr int RECORD_FLAGS_OFFSET = 8;
constexpr int RECORD_FIELDS_OFFSET = 9;

constexpr std::uint8_t RECORD_LAST = 0x01;     // the handset's last record
constexpr std::uint8_t RECORD_COMPLETE = 0x02; // the entry has no further record
constexpr std::uint8_t RECORD_EVEN = 0x04;     // the entry's index is even

// The model that gets no memo when written to.
constexpr char MODEL_WITHOUT_MEMO[] = "VN07R";

struct DeviceRecord {
    std::array<std::uint8_t, RECORD_FIELDS_LIMIT> bytes{}; // bytes[0] is the length
    int length() const { return bytes[0]; }
    QByteArrayView view() const
    {
        return QByteArrayView(reinterpret_cast<const char*>(bytes.data()), length());
    }
};

// The parts of an entry already placed in a record (or with nothing to send), in this order:
// name, reading, group, telephones 0-2, mail addresses 0-2, memo.
enum EntryPart { PART_NAME, PART_FURIGANA, PART_GROUP, PART_TEL0, PART_MAIL0 = 6, PART_MEMO = 9 };
using SentParts = std::bitset<10>;

// The next telephone and mail slot to fill while an entry is read.
struct RecordSlots {
    std::uint8_t telSlot = 0;
    std::uint8_t mailSlot = 0;
};

struct RecordFlags {
    bool continued = false;  // the entry goes on in the next record
    bool lastRecord = false; // the handset sends no further record
};

// The record for the next frame of entry (at entryIndex of the book): the parts whose flag in
// sentParts is still clear, as far as they fit; their flags are set. modelName is the model the
// handset reported.
DeviceRecord encodeEntryRecord(const TelEntry& entry, int entryIndex, const char* modelName,
                               SentParts& sentParts);

// Stores the fields of record into entry, continuing at slots. Text longer than its field is
// cut to the field (never inside a double-byte character); a fourth number or address is
// dropped; a field running past the end of the record keeps the bytes inside the record.
RecordFlags decodeEntryRecord(const DeviceRecord& record, TelEntry& entry,
                              RecordSlots& recordSlots);

// "<1:1:" + every byte as three decimal digits + "H>" + CR LF.
QByteArray entryFrame(const DeviceRecord& record);
// The record of a reply line "<1:1:ddd...": false for any other reply, and for a record whose
// length is too short to hold the flags or whose line holds fewer bytes than its length says.
bool parseRecordReply(QByteArrayView line, DeviceRecord& record);
// One byte from three characters, each taken by its low four bits.
std::uint8_t tripletValue(char d1, char d2, char d3);
