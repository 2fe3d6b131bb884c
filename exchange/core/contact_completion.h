#pragma once
// The last step of an import for each entry: a reading for an entry that has none (proposed
// from the name when a proposer is given), then the completion every import runs (a reading
// from a number, an address or the time; the name from the reading; "****" numbers), each
// noted in the entry's report.

#include "exchange/core/import_report.h"
#include "phonebook/core/tel_entry.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>

// Proposes a reading for a name: half-width katakana as code page 932 bytes, or an empty array
// when it has none to offer.
using ReadingProposer = std::function<QByteArray(const QString& name)>;

// Gives an entry without a reading the proposer's reading when it passes the field rule.
// Returns whether it did.
bool fillMissingReading(TelEntry& entry, const ReadingProposer& proposer, EntryReport& report);

// completeImportedEntry, with every field it filled in reported.
void completeReported(TelEntry& entry, const QDateTime& time, EntryReport& report);
