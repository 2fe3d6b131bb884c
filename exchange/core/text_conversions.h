#pragma once
// Byte-level rules for Shift-JIS (code page 932) text held in fixed NUL-terminated fields.

#include <cstddef>

enum SjisByteClass { SJIS_SINGLE = 0, SJIS_LEAD = 1, SJIS_TRAIL = 2 };

inline bool isSjisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool isSjisTrailByte(unsigned char c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Class of the byte at pos of a NUL-terminated text, scanning from its start; SJIS_SINGLE at or
// beyond the end.
int sjisByteClass(const char* text, std::size_t pos);

// Copies value into field (width bytes of text plus the NUL, so the field is width+1 bytes),
// cut to width bytes without leaving half of a double-byte character behind.
void cutToField(char* field, std::size_t width, const char* value);
