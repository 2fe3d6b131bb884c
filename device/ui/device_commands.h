#pragma once
// The list window's 読み込み, 書き込み and バックアップから書き戻す…: the book the window shows
// from and to the handset.

#include "device/core/transfer_options.h"

class CTelListDlg;
class QString;

// 読み込み: after the discard question (when the book holds entries), the handset's book
// replaces the list window's book when the read completes, as a new book without unsaved
// changes. Declined, failed or cancelled, the book is as it was; when the port did not open the
// entries are as they were, but no file holds them any more. device is the serial device of the
// port in use; options give the pace.
void readFromHandset(CTelListDlg& list, const QString& device, const TransferOptions& options);
// バックアップから書き戻す…: the backup the user chooses (the dialog opens in the backup folder)
// replaces the handset's book, as a write
// does (with its own backup and check as options ask); the program's book is left as it is. A
// file that holds no phone book is refused before the port is opened.
void restoreBackupToHandset(CTelListDlg& list, const QString& device,
                            const TransferOptions& options);
// 書き込み: the list window's book replaces the handset's (the erase is confirmed during the
// transfer), with the backup before and the check after that options ask for.
void writeToHandset(CTelListDlg& list, const QString& device, const TransferOptions& options);
