#include "exchange/core/text_conversions.h"

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
