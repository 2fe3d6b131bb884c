#pragma once
// The fields of one entry as a sync merges them: the last synced entry s against the handset's h
// and the PC's p. A field one side left as it was in s takes the other side's value; two equal
// values are taken as they are; numbers and addresses that both sides changed merge as sets
// (what one side removed goes, what either added comes) as long as three are enough; any other
// field both changed differently is a conflict.

#include "phonebook/core/sync_plan.h"

#include <QString>

struct FieldMerge {
    TelEntry merged{};      // conflicts with the PC's value
    TelEntry handsetSide{}; // conflicts with the handset's value
    std::vector<SyncField> conflicts;
};

// s null: an entry both sides added (or a sync without state): only equal values need no choice.
// h and s are in stored form; pcStored is the stored form of p. A value taken from the PC is p's
// own, uncut.
FieldMerge mergeFields(const TelEntry* s, const TelEntry& h, const TelEntry& p,
                       const TelEntry& pcStored);

// Copies field from source into target.
void copyField(TelEntry& target, const TelEntry& source, SyncField field);

// Whether a and b agree in field.
bool sameField(const TelEntry& a, const TelEntry& b, SyncField field);

// The fields in which a and b differ.
std::vector<SyncField> differentFields(const TelEntry& a, const TelEntry& b);

// The value of field in entry as the preview and the command-line tool show it.
QString fieldValueText(const TelEntry& entry, SyncField field);
