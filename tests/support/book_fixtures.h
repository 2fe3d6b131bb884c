#pragma once
// Building entries for tests from UTF-8 text (stored as code page 932 bytes, as the program
// keeps them).

#include "phonebook/core/book_document.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_book.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

inline void setField(char* field, std::size_t size, const std::string& utf8)
{
    std::memset(field, 0, size);
    const QByteArray bytes = toCp932(QString::fromStdString(utf8)).value_or(QByteArray());
    std::memcpy(field, bytes.constData(), std::min<std::size_t>(bytes.size(), size - 1));
}

struct EntryFields {
    std::string name = {};
    std::string furigana = {};
    std::initializer_list<std::string> numbers = {};
    std::initializer_list<std::string> addresses = {};
    std::string memo = {};
    int group = 0;
};

inline TelEntry makeEntry(const EntryFields& fields)
{
    TelEntry entry{};
    setField(entry.name, sizeof entry.name, fields.name);
    setField(entry.furigana, sizeof entry.furigana, fields.furigana);
    entry.group = static_cast<std::uint8_t>(fields.group);
    int slot = 0;
    for (const std::string& number : fields.numbers)
        setField(entry.tel[slot++].number, NUMBER_FIELD_SIZE, number);
    slot = 0;
    for (const std::string& address : fields.addresses)
        setField(entry.mail[slot++].address, ADDRESS_FIELD_SIZE, address);
    setField(entry.memo, sizeof entry.memo, fields.memo);
    return entry;
}

// A book of the given entries.
inline std::unique_ptr<TelBook> makeBook(std::initializer_list<EntryFields> entries)
{
    auto book = std::make_unique<TelBook>();
    for (const EntryFields& fields : entries)
        book->entries[book->count++] = makeEntry(fields);
    return book;
}

// The document holds the given entries and no file, as a book just made would.
inline void fillBook(BookDocument& document, std::initializer_list<EntryFields> entries)
{
    document.replace(*makeBook(entries), QString());
}
