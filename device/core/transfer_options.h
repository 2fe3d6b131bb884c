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
};
