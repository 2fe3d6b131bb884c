#pragma once
// What the import's completion writes where a file gave nothing: "****" numbers, and readings
// copied from a number, an address or the time. They keep an entry within the field rules of
// the handset's book but are no data of the person: the smartphone export leaves them out, so
// no smartphone dials "****" or sorts a contact under a time stamp, and the matching of entries
// never takes them for a key.

#include "phonebook/core/tel_entry.h"

// The number the completion gives an entry with no number and no address.
inline constexpr const char* COMPLETION_NUMBER = "****";

bool isCompletionNumber(const char* number);

// The reading is a time stamp as the completion writes it ("2024/01/15/ 09:30"), one of the
// entry's numbers or addresses (as far as the reading field holds it), or text that only a
// number or an address holds (dial characters alone, or an "@").
bool isCompletionReading(const TelEntry& entry);
