// A record line from the handset, decoded into an entry that is then encoded again: whatever
// arrives, every write stays inside the entry and the record buffers.

#include "device/core/device_record.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    DeviceRecord record;
    if (!parseRecordReply(line, record))
        return 0;
    // Heap copies so that the address sanitizer sees any write past the entry.
    auto* entry = new TelEntry{};
    RecordSlots filled{static_cast<std::uint8_t>(size % 4), static_cast<std::uint8_t>(size % 3)};
    decodeEntryRecord(record, *entry, filled);
    if (filled.telSlot > TEL_SLOTS || filled.mailSlot > MAIL_SLOTS)
        __builtin_trap();
    if (std::strlen(entry->name) >= sizeof entry->name ||
        std::strlen(entry->memo) >= sizeof entry->memo)
        __builtin_trap();
    SentParts parts;
    for (int frames = 0; !parts.all(); ++frames) {
        const DeviceRecord out = encodeEntryRecord(*entry, frames, "", parts);
        if (frames >= 3 || out.length() > RECORD_FIELDS_LIMIT)
            __builtin_trap();
        DeviceRecord back;
        if (!parseRecordReply(entryFrame(out).chopped(2), back) ||
            std::memcmp(back.bytes.data(), out.bytes.data(), out.length()) != 0)
            __builtin_trap();
    }
    delete entry;
    return 0;
}
