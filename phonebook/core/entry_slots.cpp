#include "phonebook/core/entry_slots.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/match_keys.h"

#include <cstring>

namespace {

char* textOf(TelNumber& slot)
{
    return slot.number;
}
char* textOf(MailAddress& slot)
{
    return slot.address;
}

template <typename Slot, std::size_t N> void pack(Slot (&items)[N])
{
    Slot packed[N]{};
    int next = 0;
    for (Slot& slot : items)
        if (textOf(slot)[0] != '\0')
            packed[next++] = slot;
    std::memcpy(items, packed, sizeof packed);
}

template <typename Slot, std::size_t N> void removeRow(Slot (&items)[N], int row, int filled)
{
    if (row < 0 || row >= filled)
        return;
    for (int s = row; s + 1 < filled; ++s)
        items[s] = items[s + 1];
    items[filled - 1] = Slot{};
}

} // namespace

std::uint8_t slotKind(const TelEntry& entry, SlotList list, int slot)
{
    return list == SlotList::Tel ? entry.tel[slot].kind : entry.mail[slot].kind;
}

const char* slotText(const TelEntry& entry, SlotList list, int slot)
{
    return list == SlotList::Tel ? entry.tel[slot].number : entry.mail[slot].address;
}

QString slotKey(SlotList list, const QString& text)
{
    const QString key = list == SlotList::Tel ? numberDialForm(text) : addressMatchKey(text);
    return key.isEmpty() ? text : key;
}

int filledSlots(const TelEntry& entry, SlotList list)
{
    int filled = 0;
    const int slotCount = list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS;
    for (int s = 0; s < slotCount; ++s)
        if (slotText(entry, list, s)[0] != '\0')
            ++filled;
    return filled;
}

void packSlots(TelEntry& entry, SlotList list)
{
    if (list == SlotList::Tel)
        pack(entry.tel);
    else
        pack(entry.mail);
}

bool storeSlot(TelEntry& entry, SlotList list, int slot, std::uint8_t kind, const QString& text)
{
    if (slot < 0 || slot >= (list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS))
        return false;
    if (list == SlotList::Tel) {
        if (!storeCp932(text, entry.tel[slot].number, NUMBER_FIELD_SIZE))
            return false;
        entry.tel[slot].kind = kind;
    } else {
        if (!storeCp932(text, entry.mail[slot].address, ADDRESS_FIELD_SIZE))
            return false;
        entry.mail[slot].kind = kind;
    }
    return true;
}

void removeSlotRow(TelEntry& entry, SlotList list, int row)
{
    const int filled = filledSlots(entry, list);
    if (list == SlotList::Tel)
        removeRow(entry.tel, row, filled);
    else
        removeRow(entry.mail, row, filled);
}

int pendingRowAfterRemoval(int pendingRow, int removedRow)
{
    if (removedRow == pendingRow)
        return -1;
    return removedRow < pendingRow ? pendingRow - 1 : pendingRow;
}
