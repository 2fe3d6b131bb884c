#include "exchange/core/vcard_key_words.h"

#include "exchange/core/text_conversions.h"

#include <array>
#include <bit>
#include <string_view>

namespace {

constexpr std::string_view WORDS[KW_COUNT] = {
    "VERSION:", "SOUND",      "X-GNO",
    "TEL;",     "EMAIL;",     "X-CLASS",
    "NOTE",     "END:VCARD",  "ENCODING=QUOTED-PRINTABLE",
    "WORK",     "HOME",       "VOICE",
    "FAX",      "CELL",       "PCS",
    "SHOP",     "RESTAURANT", "HOSPITAL",
    "OTHER",    "X-NEC-PHS",  "INTERNET",
};
static_assert(KW_COUNT <= 32);

// What a byte of a line means to the scan: the end, a lead byte, the first letter of some word
// (FIRST_LETTER and up, one value per letter), or nothing.
enum : std::uint8_t { NOTHING, LINE_END, LEAD_BYTE, FIRST_LETTER };

struct ScanTables {
    std::array<std::uint8_t, 256> byteClass{};
    // For each first letter and each byte after it, the words that begin with those two bytes.
    std::array<std::array<VCardKeyWords, 256>, KW_COUNT> pairs{};
};

constexpr ScanTables SCAN = [] {
    ScanTables tables;
    for (int c = 0; c < 256; ++c)
        tables.byteClass[c] = isSjisLeadByte(static_cast<unsigned char>(c)) ? LEAD_BYTE : NOTHING;
    tables.byteClass[0] = LINE_END;
    int letters = 0;
    for (int word = 0; word < KW_COUNT; ++word) {
        const auto first = static_cast<unsigned char>(WORDS[word][0]);
        if (tables.byteClass[first] == NOTHING)
            tables.byteClass[first] = static_cast<std::uint8_t>(FIRST_LETTER + letters++);
        const auto second = static_cast<unsigned char>(WORDS[word][1]);
        tables.pairs[tables.byteClass[first] - FIRST_LETTER][second] |=
            keyWordBit(static_cast<VCardKeyWord>(word));
    }
    return tables;
}();

// Whether text, NUL-terminated, begins with word.
bool startsWith(const unsigned char* text, std::string_view word)
{
    for (char c : word)
        if (*text++ != static_cast<unsigned char>(c))
            return false;
    return true;
}

} // namespace

const char* vcardKeyWordText(VCardKeyWord word)
{
    return WORDS[word].data();
}

VCardKeyWords findVCardKeyWords(const char* line)
{
    // Most bytes begin no word and are passed over at the cost of one table look-up; a letter
    // that begins some word is followed up only when the byte after it fits too.
    VCardKeyWords found = 0;
    for (auto at = reinterpret_cast<const unsigned char*>(line);;) {
        while (SCAN.byteClass[at[0]] == NOTHING)
            ++at;
        const std::uint8_t kind = SCAN.byteClass[at[0]];
        if (kind == LEAD_BYTE) {
            // A double-byte character is stepped over whole: no word starts on its trail byte.
            at += isSjisTrailByte(at[1]) ? 2 : 1;
        } else if (kind == LINE_END) {
            return found;
        } else {
            for (VCardKeyWords candidates = SCAN.pairs[kind - FIRST_LETTER][at[1]] & ~found;
                 candidates; candidates &= candidates - 1) {
                const int word = std::countr_zero(candidates);
                if (startsWith(at + 2, WORDS[word].substr(2)))
                    found |= keyWordBit(static_cast<VCardKeyWord>(word));
            }
            ++at;
        }
    }
}
