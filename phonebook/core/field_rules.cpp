#include "phonebook/core/field_rules.h"

#include <cstring>

namespace {

template <typename Rule> bool everyByte(const char* text, Rule rule)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (!rule(*p))
            return false;
    return true;
}

} // namespace

bool checkFurigana(const char* text)
{
    if (text[0] == '\0')
        return false;
    return everyByte(
        text, [](unsigned char c) { return (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF); });
}

bool checkTelNumber(const char* text)
{
    return everyByte(text, [](unsigned char c) {
        return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == 'P';
    });
}

bool checkMailAddress(const char* text)
{
    return everyByte(text, [](unsigned char c) {
        return c >= 0x21 && c <= 0x7E && std::strchr("(),;<=>[]", c) == nullptr;
    });
}
