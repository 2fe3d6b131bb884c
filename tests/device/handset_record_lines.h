#pragma once
// The record lines a handset sends for a book, as a backup keeps them.

#include "device/core/device_record.h"
#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QList>

// One line per record, without its line end; the book's last record flagged as the last.
inline QList<QByteArray> handsetRecords(const TelBook& book)
{
    QList<QByteArray> lines;
    for (std::uint32_t i = 0; i < book.count; ++i) {
        SentParts parts;
        while (!parts.all()) {
            DeviceRecord record =
                encodeEntryRecord(book.entries[i], static_cast<int>(i), "", parts);
            if (parts.all() && i + 1 == book.count)
                record.bytes[RECORD_FLAGS_OFFSET] |= RECORD_LAST;
            lines << entryFrame(record).chopped(2);
        }
    }
    return lines;
}
