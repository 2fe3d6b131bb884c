#pragma once
// The book a handset model held after the last sync, kept as the handset's own records in
// "<folder>/<model>.state" with a hash of its content: a file that was changed or cut short is
// not taken for a state. It is written whole or not at all.

#include "phonebook/core/tel_book.h"

#include <QString>

#include <span>
#include <vector>

inline constexpr char SYNC_STATE_HEADER[] = "VEMBLOR SYNC STATE 1";

struct SyncState {
    bool found = false;            // a state was read
    QString problem;               // a file that is there but was not taken, in the user's words
    std::vector<TelEntry> entries; // in stored form
};

// The state file of model in folder.
QString syncStatePath(const QString& folder, const QString& model);

// No file: found false and no problem.
SyncState loadSyncState(const QString& path);

// Writes the entries (in stored form) as the new state; false and error when the file could not
// be written, and then the old state stays.
bool saveSyncState(const QString& path, std::span<const TelEntry> entries, QString& error);

// The entries in the form model stores them (what a read gives back after a write of them).
std::vector<TelEntry> storedEntries(std::span<const TelEntry> entries, const QString& model);

// After a write to model whose check passed: the written book, in the form the handset stores
// it, becomes the state of model in folder.
bool saveWrittenBookAsState(const QString& folder, const QString& model, const TelBook& written,
                            QString& error);
