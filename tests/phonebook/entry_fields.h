#pragma once
// Entries for the matching and merge tests, written as UTF-8 texts: a name, a reading, numbers
// and addresses in slot order, a memo, a group and the secret flag.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/tel_entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

struct MatchFields {
    const char* name;
    const char* reading;
    std::initializer_list<const char*> numbers;
    std::initializer_list<const char*> addresses = {};
    const char* memo = "";
    std::uint8_t group = 0;
    std::uint8_t secret = 0;
};

inline TelEntry entry(const MatchFields& fields)
{
    TelEntry e{};
    EXPECT_TRUE(storeCp932(QString::fromUtf8(fields.name), e.name, sizeof e.name));
    EXPECT_TRUE(storeCp932(QString::fromUtf8(fields.reading), e.furigana, sizeof e.furigana));
    int slot = 0;
    for (const char* number : fields.numbers) {
        e.tel[slot].kind = TEL_MOBILE;
        EXPECT_TRUE(storeCp932(QString::fromUtf8(number), e.tel[slot++].number, NUMBER_FIELD_SIZE));
    }
    slot = 0;
    for (const char* address : fields.addresses)
        EXPECT_TRUE(
            storeCp932(QString::fromUtf8(address), e.mail[slot++].address, ADDRESS_FIELD_SIZE));
    EXPECT_TRUE(storeCp932(QString::fromUtf8(fields.memo), e.memo, sizeof e.memo));
    e.group = fields.group;
    e.secret = fields.secret;
    return e;
}

inline std::vector<TelEntry> entriesOf(std::initializer_list<MatchFields> list)
{
    std::vector<TelEntry> entries;
    for (const MatchFields& fields : list)
        entries.push_back(entry(fields));
    return entries;
}
