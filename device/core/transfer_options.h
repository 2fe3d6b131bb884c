#pragma once
// How a copy to or from the handset runs beside the bare protocol: the handset's book backed up
// before a write erases it, the written book read back and compared, and the fast pace (the next
// command goes out as soon as the previous reply has been handled).

#include <QString>

struct TransferOptions {
    bool backup = true;
    bool verify = true;
    bool fast = false;
    // Folder the backups go to ("backup" beside the settings file in the program).
    QString backupDir;
    // When set, the backup goes to exactly this file instead of a new one in backupDir.
    QString backupFile;
    // When set, a write whose check passed keeps the written book as the sync state of the
    // handset's model in this folder ("sync" beside the settings file in the program). A restore
    // leaves it empty: the state must keep what the handset held at the last sync, so that what
    // was added on the handset since is not taken for deleted on the PC.
    QString syncStateDir;
};

// The bare protocol: no backup, no check, the normal pace.
inline TransferOptions plainTransfer()
{
    return {false, false, false, {}, {}, {}};
}
