#pragma once
// The list window's 読み込み and 書き込み: the phone book from and to the handset.

#include "device/core/transfer_options.h"

class CTelListDlg;
class QString;
struct TelBook;

enum class HandsetRead {
    Kept,          // declined, failed or cancelled: book is as it was
    Replaced,      // the handset's book replaced book: a new book, without unsaved changes
    PortNotOpened, // the port did not open: book is as it was, but taken as a new one
};

// 読み込み: after the discard question (when book holds entries), the handset's book replaces
// book when the read completes. The caller rebuilds the list unless the result is Kept. device
// is the serial device of the port in use; options give the pace.
HandsetRead readFromHandset(CTelListDlg& list, TelBook& book, const QString& device,
                            const TransferOptions& options);
// バックアップから書き戻す…: the backup the user chooses (the dialog opens in the backup folder)
// replaces the handset's book, as a write
// does (with its own backup and check as options ask); the program's book is left as it is. A
// file that holds no phone book is refused before the port is opened.
void restoreBackupToHandset(CTelListDlg& list, const QString& device,
                            const TransferOptions& options);
// 書き込み: book replaces the handset's (the erase is confirmed during the transfer), with the
// backup before and the check after that options ask for.
void writeToHandset(CTelListDlg& list, const TelBook& book, const QString& device,
                    const TransferOptions& options);
