#pragma once
// The incoming entries the merge benchmarks take into a full book: a smartphone's view of the
// same people, a third unchanged, a third with numbers written in the international form and
// the reading in full-width katakana, a third other people who share a reading with someone in
// the book.

#include "full_book.h"

#include <vector>

inline std::vector<TelEntry> incomingEntries(const TelBook& book)
{
    std::vector<TelEntry> incoming(book.entries, book.entries + book.count);
    for (std::size_t i = 0; i < incoming.size(); ++i) {
        TelEntry& entry = incoming[i];
        if (i % 3 == 1) {
            putBenchField(
                entry.tel[0].number, NUMBER_FIELD_SIZE,
                QStringLiteral("+81%1").arg(QString::fromLatin1(entry.tel[0].number + 1)));
            putBenchField(entry.furigana, sizeof entry.furigana,
                          QStringLiteral("ミホン　タロウ %1").arg(i));
        } else if (i % 3 == 2) {
            putBenchField(entry.name, sizeof entry.name, QStringLiteral("別人%1").arg(i));
            for (int s = 0; s < TEL_SLOTS; ++s)
                putBenchField(entry.tel[s].number, NUMBER_FIELD_SIZE,
                              QStringLiteral("080%1%2").arg(s).arg(i));
            for (int s = 0; s < MAIL_SLOTS; ++s)
                putBenchField(entry.mail[s].address, ADDRESS_FIELD_SIZE,
                              QStringLiteral("other%1.%2@example.jp").arg(i).arg(s));
        }
    }
    return incoming;
}
