#include "device/core/device_record.h"
#include "tests/support/book_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<int> bytesOf(const DeviceRecord& record)
{
    return std::vector<int>(record.bytes.begin(), record.bytes.begin() + record.length());
}

// A record from its bytes after the length byte, which is filled in.
DeviceRecord recordOf(std::vector<std::uint8_t> bytes)
{
    DeviceRecord record;
    record.bytes[0] = static_cast<std::uint8_t>(bytes.size() + 1);
    std::copy(bytes.begin(), bytes.end(), record.bytes.begin() + 1);
    return record;
}

std::vector<std::uint8_t> header(std::uint8_t flags)
{
    return {0x44, 0x44, 0x49, 0x50, 0x20, 0x00, 0x08, flags};
}

TelEntry fullEntry(bool withName)
{
    const std::string digits(32, '9');
    TelEntry entry = makeEntry({withName ? std::string(32, 'N') : std::string(),
                                withName ? std::string(32, 'F') : std::string(),
                                {digits, digits, digits},
                                {std::string(64, 'a'), std::string(64, 'b'), std::string(64, 'c')},
                                std::string(100, 'm')});
    return entry;
}

struct Split {
    int length;
    std::uint8_t flags;
};

std::vector<Split> encodeAll(const TelEntry& entry, int index, const char* model)
{
    std::vector<Split> records;
    SentParts parts;
    while (!parts.all() && records.size() < 5) {
        const DeviceRecord record = encodeEntryRecord(entry, index, model, parts);
        records.push_back({record.length(), record.bytes[RECORD_FLAGS_OFFSET]});
    }
    return records;
}

TEST(EncodeEntryRecord, NameOnlyEntryGivesTheSeventeenByteRecordAndItsLine)
{
    const TelEntry entry = makeEntry({"A"});
    SentParts parts;
    const DeviceRecord record = encodeEntryRecord(entry, 0, "VN650R", parts);
    EXPECT_EQ(bytesOf(record), (std::vector<int>{17, 0x44, 0x44, 0x49, 0x50, 0x20, 0x00, 0x08, 0x06,
                                                 0x01, 0x02, 0x01, 0x41, 0x00, 0x01, 0x01, 0x00}));
    EXPECT_TRUE(parts.all());
    EXPECT_EQ(entryFrame(record),
              QByteArray("<1:1:017068068073080032000008006001002001065000001001000H>\r\n"));
}

TEST(EncodeEntryRecord, FullEntrySplitsIntoThreeRecordsAndOnlyTheLastIsComplete)
{
    const std::vector<Split> records = encodeAll(fullEntry(true), 0, "VN650R");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].length, 191);
    EXPECT_EQ(records[1].length, 210);
    EXPECT_EQ(records[2].length, 112);
    EXPECT_EQ(records[0].flags, RECORD_EVEN);
    EXPECT_EQ(records[1].flags, RECORD_EVEN);
    EXPECT_EQ(records[2].flags, RECORD_EVEN | RECORD_COMPLETE);
}

TEST(EncodeEntryRecord, WithoutNameTheFirstRecordFillsExactly255Bytes)
{
    const std::vector<Split> records = encodeAll(fullEntry(false), 1, "VN650R");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].length, 255);
    EXPECT_EQ(records[1].length, 9 + 67 + 103);
    // Odd index: bit 2 clear; the PC never sets the last-record bit.
    EXPECT_EQ(records[0].flags, 0);
    EXPECT_EQ(records[1].flags, RECORD_COMPLETE);
}

TEST(EncodeEntryRecord, MemoIsNeverSentToTheModelWithoutMemo)
{
    const TelEntry entry = makeEntry({"A", "ｱ", {}, {}, "memo"});
    for (const char* model : {"VN07R", "VN650R"}) {
        SentParts parts;
        const DeviceRecord record = encodeEntryRecord(entry, 0, model, parts);
        EXPECT_TRUE(parts.all());
        const bool hasMemo = record.view().contains(QByteArrayView("\x01\x0E\x04memo", 7));
        EXPECT_EQ(hasMemo, std::strcmp(model, "VN650R") == 0) << model;
    }
}

TEST(EncodeEntryRecord, KindsGroupAndSecretGoIntoTheFields)
{
    TelEntry entry = makeEntry({"", "", {"1", "2", "3"}, {"x@y", "z@w"}, "", 5});
    entry.secret = 1;
    entry.tel[0].kind = TEL_OFFICE;
    entry.tel[1].kind = TEL_FAX;
    entry.tel[2].kind = 9; // unknown kinds are sent as a voice number
    entry.mail[0].kind = MAIL_OFFICE_PC;
    entry.mail[1].kind = 3;
    SentParts parts;
    const DeviceRecord record = encodeEntryRecord(entry, 2, "", parts);
    const std::vector<int> expected = {9 + 4 + 5 * 3 + 6 * 2,
                                       0x44,
                                       0x44,
                                       0x49,
                                       0x50,
                                       0x20,
                                       0x00,
                                       0x08,
                                       0x06, // header, flags
                                       0x00,
                                       0x01,
                                       0x01,
                                       0x94, // group 5, secret
                                       0x02,
                                       0x03,
                                       0x02,
                                       0x00,
                                       '1',
                                       0x01,
                                       0x04,
                                       0x02,
                                       0x00,
                                       '2',
                                       0x01,
                                       0x03,
                                       0x02,
                                       0x00,
                                       '3',
                                       0x02,
                                       0x09,
                                       0x03,
                                       'x',
                                       '@',
                                       'y',
                                       0x01,
                                       0x09,
                                       0x03,
                                       'z',
                                       '@',
                                       'w'};
    EXPECT_EQ(bytesOf(record), expected);
}

TEST(DecodeEntryRecord, ReadsBackWhatWasEncodedOverSeveralRecords)
{
    TelEntry original = fullEntry(true);
    original.tel[1].kind = TEL_MOBILE;
    original.tel[2].kind = TEL_PHS;
    original.mail[2].kind = MAIL_OFFICE_PC;
    original.group = 31;
    TelEntry decoded{};
    RecordSlots filled;
    SentParts parts;
    RecordFlags flags;
    do {
        flags = decodeEntryRecord(encodeEntryRecord(original, 0, "", parts), decoded, filled);
    } while (flags.continued);
    EXPECT_TRUE(parts.all());
    EXPECT_EQ(std::memcmp(&original, &decoded, sizeof decoded), 0);
    EXPECT_FALSE(flags.lastRecord);
}

struct KindCase {
    std::uint8_t t1;
    std::uint8_t t2;
    std::uint8_t kind;
};

TEST(DecodeEntryRecord, TelephoneKindsReadBackByTable)
{
    const KindCase cases[] = {{1, 3, TEL_PHONE},  {1, 7, TEL_PHONE},  {1, 8, TEL_PHONE},
                              {1, 6, TEL_MOBILE}, {1, 5, TEL_PHS},    {1, 4, TEL_FAX},
                              {2, 3, TEL_OFFICE}, {2, 7, TEL_OFFICE}, {2, 8, TEL_OFFICE}};
    for (const KindCase& c : cases) {
        std::vector<std::uint8_t> bytes = header(RECORD_COMPLETE);
        bytes.insert(bytes.end(), {c.t1, c.t2, 0x03, 0x00, '1', '2'});
        TelEntry entry{};
        RecordSlots filled;
        decodeEntryRecord(recordOf(bytes), entry, filled);
        EXPECT_EQ(entry.tel[0].kind, c.kind) << int(c.t1) << "," << int(c.t2);
        EXPECT_STREQ(entry.tel[0].number, "12");
        EXPECT_EQ(filled.telSlot, 1);
    }
}

TEST(DecodeEntryRecord, EmptyMailFieldTakesASlotButKeepsItsKind)
{
    std::vector<std::uint8_t> bytes = header(RECORD_COMPLETE | RECORD_LAST);
    bytes.insert(bytes.end(), {0x02, 0x09, 0x00, 0x02, 0x09, 0x01, 'q', 0x00, 0x01, 0x01, 0x94});
    TelEntry entry{};
    entry.mail[0].kind = 3;
    RecordSlots filled;
    const RecordFlags flags = decodeEntryRecord(recordOf(bytes), entry, filled);
    EXPECT_EQ(entry.mail[0].kind, 3);
    EXPECT_STREQ(entry.mail[1].address, "q");
    EXPECT_EQ(entry.mail[1].kind, MAIL_OFFICE_PC);
    EXPECT_EQ(filled.mailSlot, 2);
    EXPECT_EQ(entry.group, 5);
    EXPECT_EQ(entry.secret, 1);
    EXPECT_FALSE(flags.continued);
    EXPECT_TRUE(flags.lastRecord);
}

TEST(DecodeEntryRecord, UnknownBytesAreSteppedOverOneByOne)
{
    std::vector<std::uint8_t> bytes = header(0);
    bytes.insert(bytes.end(), {0x07, 0x01, 0x02, 0x01, 'Z'});
    TelEntry entry{};
    RecordSlots filled;
    const RecordFlags flags = decodeEntryRecord(recordOf(bytes), entry, filled);
    EXPECT_STREQ(entry.name, "Z");
    EXPECT_TRUE(flags.continued);
}

// Whatever the handset sends, nothing is written outside the entry: long text is cut without
// splitting a double-byte character, a fourth number or address is dropped, and a field that
// runs past its record keeps only the bytes inside it.
TEST(DecodeEntryRecord, OversizedAndSurplusFieldsStayInsideTheEntry)
{
    std::vector<std::uint8_t> bytes = header(RECORD_COMPLETE);
    bytes.insert(bytes.end(), {0x01, 0x02, 41, 'x'});
    for (int i = 0; i < 20; ++i)
        bytes.insert(bytes.end(), {0x95, 0x5C}); // 表 x 20: byte 32 would split one
    for (char slot = '1'; slot <= '4'; ++slot)
        bytes.insert(bytes.end(), {0x01, 0x03, 0x02, 0x00, static_cast<std::uint8_t>(slot)});
    for (char slot = 'a'; slot <= 'd'; ++slot)
        bytes.insert(bytes.end(), {0x01, 0x09, 0x01, static_cast<std::uint8_t>(slot)});
    bytes.insert(bytes.end(), {0x01, 0x0E, 200, 'm', 'e', 'm', 'o'}); // claims 200 bytes
    struct Guarded {
        TelEntry entry{};
        char after[64] = {};
    } guarded;
    RecordSlots filled;
    decodeEntryRecord(recordOf(bytes), guarded.entry, filled);
    EXPECT_EQ(std::strlen(guarded.entry.name), 31u);
    EXPECT_EQ(static_cast<unsigned char>(guarded.entry.name[30]), 0x5C);
    EXPECT_STREQ(guarded.entry.tel[2].number, "3");
    EXPECT_STREQ(guarded.entry.mail[2].address, "c");
    EXPECT_EQ(filled.telSlot, 3);
    EXPECT_EQ(filled.mailSlot, 3);
    EXPECT_STREQ(guarded.entry.memo, "memo");
    for (char c : guarded.after)
        ASSERT_EQ(c, 0);
}

TEST(DecodeEntryRecord, TelephoneFieldWithoutRoomForTheZeroByteLeavesTheNumberEmpty)
{
    std::vector<std::uint8_t> bytes = header(RECORD_COMPLETE);
    bytes.insert(bytes.end(), {0x01, 0x06, 0x00, 0x01, 0x03, 0x01, 0x00});
    TelEntry entry{};
    RecordSlots filled;
    decodeEntryRecord(recordOf(bytes), entry, filled);
    EXPECT_STREQ(entry.tel[0].number, "");
    EXPECT_STREQ(entry.tel[1].number, "");
    EXPECT_EQ(filled.telSlot, 2);
}

TEST(ParseRecordReply, ReadsTripletsByTheirLowFourBits)
{
    DeviceRecord record;
    ASSERT_TRUE(
        parseRecordReply("<1:1:017068068073080032000008006001002001065000001001000H>", record));
    EXPECT_EQ(record.length(), 17);
    EXPECT_EQ(record.bytes[12], 0x41);
    // ':' is 0x3A, so "0:1" reads as 0*100 + 10*10 + 1.
    ASSERT_TRUE(parseRecordReply("<1:1:009068068073080032000008000", record));
    EXPECT_EQ(record.bytes[8], 0);
    EXPECT_EQ(tripletValue('0', ':', '1'), 101);
    EXPECT_EQ(tripletValue('9', '9', '9'), 999 % 256);
}

TEST(ParseRecordReply, RejectsOtherRepliesAndRecordsCutShort)
{
    DeviceRecord record;
    for (const char* line : {"", "1:1:017", "<2h>", "<1b>", "<1:2:017", "<1:1:",
                             "<1:1:008068068073080032000008",       // no room for the flags byte
                             "<1:1:017068068073080032000008006H>"}) // fewer bytes than 17
        EXPECT_FALSE(parseRecordReply(line, record)) << line;
}

} // namespace
