#pragma once
// The book the file benchmarks save and import: 1000 entries with every field filled, the memo
// to its 100 bytes of double-byte text.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>
#include <cstring>

inline void putBenchField(char* field, std::size_t size, const QString& text)
{
    const QByteArray bytes = toCp932(text).value_or(QByteArray());
    std::memset(field, 0, size);
    std::memcpy(field, bytes.constData(), std::min<std::size_t>(bytes.size(), size - 1));
}

inline void fillFullBook(TelBook& book)
{
    clearBook(book);
    for (std::uint32_t i = 0; i < MAX_TEL_ENTRIES; ++i) {
        TelEntry& entry = book.entries[i];
        putBenchField(entry.name, sizeof entry.name, QStringLiteral("見本太郎%1").arg(i));
        putBenchField(entry.furigana, sizeof entry.furigana, QStringLiteral("ﾐﾎﾝ ﾀﾛｳ %1").arg(i));
        entry.group = static_cast<std::uint8_t>(i % 10);
        entry.secret = static_cast<std::uint8_t>(i % 2);
        for (int s = 0; s < TEL_SLOTS; ++s) {
            entry.tel[s].kind = static_cast<std::uint8_t>(s);
            putBenchField(entry.tel[s].number, NUMBER_FIELD_SIZE,
                          QStringLiteral("090%1%2").arg(s).arg(i));
        }
        for (int s = 0; s < MAIL_SLOTS; ++s) {
            entry.mail[s].kind = static_cast<std::uint8_t>(s % 2);
            putBenchField(entry.mail[s].address, ADDRESS_FIELD_SIZE,
                          QStringLiteral("person%1.mail%2@example.co.jp").arg(i).arg(s));
        }
        putBenchField(
            entry.memo, sizeof entry.memo,
            QStringLiteral("毎週月曜日の午前１０時から第二会議室で定例会議。資料は前日までに共有"));
    }
    book.count = MAX_TEL_ENTRIES;
}
