#pragma once
// Byte-level rules for Shift-JIS (code page 932) text held in fixed NUL-terminated fields.

#include <cstddef>

enum SjisByteClass { SJIS_SINGLE = 0, SJIS_LEAD = 1, SJIS_TRAIL = 2 };

constexpr bool isSjisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool isSjisTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Class of the byte at pos of a NUL-terminated text, scanning from its start; SJIS_SINGLE at or
// beyond the end.
int sjisByteClass(const char* text, std::size_t pos);

// Copies value into field (width bytes of text plus the NUL, so the field is width+1 bytes),
// cut to width bytes without leaving half of a double-byte character behind.
void cutToField(char* field, std::size_t width, const char* value);

// Size of the buffer encodeQuotedPrintable fills: at most 399 characters and the NUL.
constexpr std::size_t QP_ENCODED_SIZE = 400;

// Quoted-printable form of input: tab, 0x20-0x3C and 0x3E-0x7E stay as they are, every other
// byte becomes "=XX". No line breaks are added. output holds QP_ENCODED_SIZE bytes and has been
// zero-filled by the caller; the first byte that does not fit whole ends the encoding.
void encodeQuotedPrintable(const char* input, char* output);

// Bytes of a quoted-printable text: "=XX" (either case) becomes one byte, anything else is
// copied. An "=" without a hexadecimal digit after it leaves its output byte zero, which ends
// the text there. At most capacity-1 bytes are written, so a zero-filled output of capacity
// bytes always stays NUL-terminated; an escape cut off by the end of the input reads nothing
// beyond it.
void decodeQuotedPrintable(const char* input, char* output, std::size_t capacity);

// Replaces text in place by its half-width form: full-width digits, Latin letters, katakana and
// twenty symbols become half-width (a voiced or semi-voiced kana becomes two bytes); every other
// double-byte character is removed, single bytes stay. A lead byte with nothing after it ends
// the text and is dropped. Always returns 0.
int toHalfWidth(char* text, std::size_t bufferSize);

// Whether word occurs in text starting at a character boundary (never inside a double-byte
// character), as the code page 932 substring search finds it.
bool containsSjis(const char* text, const char* word);
