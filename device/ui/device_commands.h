#pragma once
// The list window's 読み込み and 書き込み: the phone book from and to the handset.

#include "device/core/transfer_options.h"

class CTelListDlg;
class QString;

// 読み込み: after the discard question, the handset's book replaces this one when the read
// completes; the list is rebuilt then. device is the serial device of the port in use; options
// give the pace.
void readFromHandset(CTelListDlg& list, const QString& device, const TransferOptions& options);
// 書き込み: this book replaces the handset's (the erase is confirmed during the transfer), with
// the backup before and the check after that options ask for.
void writeToHandset(CTelListDlg& list, const QString& device, const TransferOptions& options);
