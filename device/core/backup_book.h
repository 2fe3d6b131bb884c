#pragma once
// The book a backup holds, for writing it back to the handset.

#include "phonebook/core/tel_book.h"

#include <QString>

struct BackupBook {
    bool loaded = false;
    bool exactCopy = false; // read from the records the handset sent, not from the vCard file
    QString error;          // why nothing was loaded, in the user's words
};

// Replaces book by the book of the backup at path: from its exact copy of the handset's records
// when there is one (path itself, or the copy beside a .vcf), else from the file as a contacts
// file (vCard or CSV). A file that holds no phone book, and a copy that is damaged, leave book
// as it was and say why.
BackupBook loadBackupBook(const QString& path, TelBook& book);
