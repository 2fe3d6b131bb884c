#pragma once
// The key words the vCard reader looks for in a line, found in one pass over it. A word counts
// where the code page 932 substring search finds it: anywhere in the line, but only starting at
// a character boundary (never on the trail byte of a double-byte character).

#include <cstdint>

enum VCardKeyWord : std::uint8_t {
    // What the property of a line is.
    KW_VERSION, // "VERSION:"
    KW_SOUND,
    KW_X_GNO,
    KW_TEL,   // "TEL;"
    KW_EMAIL, // "EMAIL;"
    KW_X_CLASS,
    KW_NOTE,
    KW_END_VCARD,        // "END:VCARD"
    KW_QUOTED_PRINTABLE, // "ENCODING=QUOTED-PRINTABLE"
    // The type words of a telephone or mail line.
    KW_WORK,
    KW_HOME,
    KW_VOICE,
    KW_FAX,
    KW_CELL,
    KW_PCS,
    KW_SHOP,
    KW_RESTAURANT,
    KW_HOSPITAL,
    KW_OTHER,
    KW_X_NEC_PHS,
    KW_INTERNET,
    KW_COUNT
};

// The text of each key word.
const char* vcardKeyWordText(VCardKeyWord word);

// A set of key words, one bit each.
using VCardKeyWords = std::uint32_t;
constexpr VCardKeyWords keyWordBit(VCardKeyWord word)
{
    return VCardKeyWords{1} << word;
}

// Every key word that occurs in the NUL-terminated line.
VCardKeyWords findVCardKeyWords(const char* line);
