#pragma once
// The three phone slots and the three mail slots of an entry as the editor shows them: two short
// lists whose row r is slot r. The editor keeps them packed (filled slots first, in their order),
// so that adding writes the first free slot and no row ever stands for an empty slot.

#include "phonebook/core/tel_entry.h"

#include <QString>

#include <cstdint>

enum class SlotList { Tel, Mail };

std::uint8_t slotKind(const TelEntry& entry, SlotList list, int slot);
const char* slotText(const TelEntry& entry, SlotList list, int slot);

// The key by which a slot's number or address is one an entry already holds: a number by its
// dial form (0312345678P101 and 0312345678P202 are two), an address by addressMatchKey, and the
// text itself when that leaves nothing. The merge, the preview's differences and the sync use it.
QString slotKey(SlotList list, const QString& text);

// Number of slots with a non-empty text.
int filledSlots(const TelEntry& entry, SlotList list);

// Moves the filled slots to the front, keeping their order, and zero-fills the rest. Entries
// from imports can have gaps (only the second number, say); without packing, row 1 of the list
// would stand for slot 2 while adding wrote over it.
void packSlots(TelEntry& entry, SlotList list);

// slot := {kind, text}. Fails, leaving the entry as it was, when text has no code page 932 form
// or does not fit the field.
bool storeSlot(TelEntry& entry, SlotList list, int slot, std::uint8_t kind, const QString& text);

// Removes row from a packed list: the rows after it move up and the last filled slot is cleared
// (kind 0, empty text). A row outside the filled ones is ignored.
void removeSlotRow(TelEntry& entry, SlotList list, int row);

// Where a pending edit of pendingRow stands after removedRow was removed: one row up when an
// earlier row went, -1 when its own row went (there is nothing left to write back to).
int pendingRowAfterRemoval(int pendingRow, int removedRow);
