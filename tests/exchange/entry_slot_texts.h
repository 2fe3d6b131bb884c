#pragma once
// The filled number or mail slots of an entry as UTF-8 text with their kinds, in slot order.

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_slots.h"

#include <ostream>
#include <string>
#include <vector>

struct SlotText {
    int kind;
    std::string text;
    bool operator==(const SlotText&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const SlotText& slot)
{
    return out << slot.kind << ':' << slot.text;
}

inline std::vector<SlotText> filledSlotTexts(const TelEntry& entry, SlotList list)
{
    std::vector<SlotText> filled;
    for (int slot = 0; slot < 3; ++slot)
        if (const char* text = slotText(entry, list, slot); text[0])
            filled.push_back({slotKind(entry, list, slot), fromCp932(text).toStdString()});
    return filled;
}
