#pragma once
// The list window's 読み込み and 書き込み: the phone book from and to the handset.

class CTelListDlg;

// 読み込み: after the discard question, the handset's book replaces this one when the read
// completes; the list is rebuilt then.
void readFromHandset(CTelListDlg& list);
// 書き込み: this book replaces the handset's (the erase is confirmed during the transfer).
void writeToHandset(CTelListDlg& list);
