#include "exchange/core/text_conversions.h"

#include <array>
#include <cstring>

int sjisByteClass(const char* text, std::size_t pos)
{
    int state = SJIS_SINGLE;
    for (std::size_t i = 0;; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0)
            return SJIS_SINGLE;
        if (state == SJIS_LEAD)
            state = isSjisTrailByte(c) ? SJIS_TRAIL : SJIS_SINGLE;
        else
            state = isSjisLeadByte(c) ? SJIS_LEAD : SJIS_SINGLE;
        if (i == pos)
            return state;
    }
}

void cutToField(char* field, std::size_t width, const char* value)
{
    std::size_t length = std::strlen(value);
    if (length > width) {
        length = width;
        std::memcpy(field, value, length);
        field[length] = '\0';
        if (length > 0 && sjisByteClass(field, length - 1) == SJIS_LEAD)
            --length;
    } else {
        std::memcpy(field, value, length);
    }
    field[length] = '\0';
}

namespace {

// The bytes quoted-printable leaves as they are: tab, 0x20-0x3C and 0x3E-0x7E.
constexpr std::array<bool, 256> QP_LITERAL = [] {
    std::array<bool, 256> literal{};
    literal['\t'] = true;
    for (int c = 0x20; c <= 0x7E; ++c)
        literal[static_cast<std::size_t>(c)] = c != '=';
    return literal;
}();

} // namespace

void encodeQuotedPrintable(const char* input, char* output)
{
    static constexpr char HEX[] = "0123456789ABCDEF";
    char* out = output;
    char* const literalEnd = output + (QP_ENCODED_SIZE - 1); // a literal byte fits before it
    char* const escapeEnd = output + (QP_ENCODED_SIZE - 5);  // an escape fits at or before it
    for (const char* p = input; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (QP_LITERAL[c]) {
            if (out >= literalEnd)
                return;
            *out++ = static_cast<char>(c);
        } else {
            if (out > escapeEnd)
                return;
            out[0] = '=';
            out[1] = HEX[c >> 4];
            out[2] = HEX[c & 0x0F];
            out += 3;
        }
    }
}

namespace {

// The value of each byte as a hexadecimal digit of either case, or -1.
constexpr std::array<signed char, 256> HEX_DIGITS = [] {
    std::array<signed char, 256> digits{};
    digits.fill(-1);
    for (int c = 0; c < 10; ++c)
        digits['0' + c] = static_cast<signed char>(c);
    for (int c = 0; c < 6; ++c) {
        digits['A' + c] = static_cast<signed char>(10 + c);
        digits['a' + c] = static_cast<signed char>(10 + c);
    }
    return digits;
}();

int hexDigit(char c)
{
    return HEX_DIGITS[static_cast<unsigned char>(c)];
}

} // namespace

void decodeQuotedPrintable(const char* input, char* output, std::size_t capacity)
{
    if (capacity == 0)
        return;
    std::size_t out = 0;
    const char* p = input;
    while (*p && out < capacity - 1) {
        if (*p != '=') {
            output[out++] = *p++;
            continue;
        }
        // One or two hexadecimal digits make the byte; no digit leaves it zero. The escape is
        // stepped over, but never past the end of the input.
        const int high = hexDigit(p[1]);
        if (high < 0) {
            ++out;
            p += !p[1] ? 1 : !p[2] ? 2 : 3;
            continue;
        }
        const int low = hexDigit(p[2]);
        output[out++] = static_cast<char>(low >= 0 ? high * 16 + low : high);
        p += low >= 0 || p[2] ? 3 : 2;
    }
}

namespace {

// Half-width forms of the full-width katakana ァ (83 40) to ヶ (83 96), in code order; the
// trail byte 0x7F does not occur, so ミ (83 7E) is followed by ム (83 80).
constexpr const char* HALF_WIDTH_KATAKANA[86] = {
    "\xA7",     "\xB1",     "\xA8",     "\xB2",     "\xA9",     "\xB3",     "\xAA",     "\xB4",
    "\xAB",     "\xB5",     "\xB6",     "\xB6\xDE", "\xB7",     "\xB7\xDE", "\xB8",     "\xB8\xDE",
    "\xB9",     "\xB9\xDE", "\xBA",     "\xBA\xDE", "\xBB",     "\xBB\xDE", "\xBC",     "\xBC\xDE",
    "\xBD",     "\xBD\xDE", "\xBE",     "\xBE\xDE", "\xBF",     "\xBF\xDE", "\xC0",     "\xC0\xDE",
    "\xC1",     "\xC1\xDE", "\xAF",     "\xC2",     "\xC2\xDE", "\xC3",     "\xC3\xDE", "\xC4",
    "\xC4\xDE", "\xC5",     "\xC6",     "\xC7",     "\xC8",     "\xC9",     "\xCA",     "\xCA\xDE",
    "\xCA\xDF", "\xCB",     "\xCB\xDE", "\xCB\xDF", "\xCC",     "\xCC\xDE", "\xCC\xDF", "\xCD",
    "\xCD\xDE", "\xCD\xDF", "\xCE",     "\xCE\xDE", "\xCE\xDF", "\xCF",     "\xD0",     "\xD1",
    "\xD2",     "\xD3",     "\xAC",     "\xD4",     "\xAD",     "\xD5",     "\xAE",     "\xD6",
    "\xD7",     "\xD8",     "\xD9",     "\xDA",     "\xDB",     "\xDC",     "\xDC",     "\xB2",
    "\xB4",     "\xA6",     "\xDD",     "\xB3\xDE", "\xB6",     "\xB9",
};

struct SymbolForm {
    unsigned char trail; // of 81 xx
    char halfWidth;
};

constexpr SymbolForm HALF_WIDTH_SYMBOLS[] = {
    {0x40, ' '}, {0x41, '\xA4'}, {0x42, '\xA1'}, {0x43, ','}, {0x44, '.'},
    {0x46, ':'}, {0x47, ';'},    {0x48, '?'},    {0x49, '!'}, {0x4F, '^'},
    {0x51, '_'}, {0x5B, '\xB0'}, {0x5E, '/'},    {0x60, '~'}, {0x66, '\''},
    {0x7B, '+'}, {0x7C, '-'},    {0x94, '#'},    {0x96, '*'}, {0x97, '@'},
};

// The half-width form of the double-byte character lead/trail, or null when it has none.
const char* halfWidthOf(unsigned char lead, unsigned char trail, char (&single)[2])
{
    single[1] = '\0';
    if (lead == 0x82) {
        if (trail >= 0x4F && trail <= 0x58)
            single[0] = static_cast<char>('0' + (trail - 0x4F));
        else if (trail >= 0x60 && trail <= 0x79)
            single[0] = static_cast<char>('A' + (trail - 0x60));
        else if (trail >= 0x81 && trail <= 0x9A)
            single[0] = static_cast<char>('a' + (trail - 0x81));
        else
            return nullptr;
        return single;
    }
    if (lead == 0x83 && trail >= 0x40 && trail <= 0x96 && trail != 0x7F)
        return HALF_WIDTH_KATAKANA[trail < 0x7F ? trail - 0x40 : trail - 0x41];
    if (lead == 0x81)
        for (const SymbolForm& symbol : HALF_WIDTH_SYMBOLS)
            if (symbol.trail == trail) {
                single[0] = symbol.halfWidth;
                return single;
            }
    return nullptr;
}

} // namespace

int toHalfWidth(char* text, std::size_t bufferSize)
{
    const std::size_t length = strnlen(text, bufferSize);
    // Every character shrinks or keeps its size, so the result is written over the input
    // behind the read position.
    std::size_t out = 0;
    for (std::size_t in = 0; in < length;) {
        const unsigned char c = static_cast<unsigned char>(text[in]);
        if (!isSjisLeadByte(c)) {
            text[out++] = text[in++];
            continue;
        }
        if (in + 1 >= length)
            break; // a lead byte at the very end: the character is incomplete
        char single[2];
        if (const char* half = halfWidthOf(c, static_cast<unsigned char>(text[in + 1]), single))
            for (const char* h = half; *h; ++h)
                text[out++] = *h;
        in += 2;
    }
    if (out < bufferSize)
        text[out] = '\0';
    return 0;
}

bool containsSjis(const char* text, const char* word)
{
    // The plain byte search is fast and nearly always decides; only a hit has to be checked
    // for starting at a character boundary rather than on a trail byte.
    const char* boundary = text; // a known character boundary at or before every hit looked at
    for (const char* hit = std::strstr(text, word); hit; hit = std::strstr(hit + 1, word)) {
        while (boundary < hit) {
            const bool pair = isSjisLeadByte(static_cast<unsigned char>(boundary[0])) &&
                              isSjisTrailByte(static_cast<unsigned char>(boundary[1]));
            boundary += pair ? 2 : 1;
        }
        if (boundary == hit)
            return true;
    }
    return false;
}
