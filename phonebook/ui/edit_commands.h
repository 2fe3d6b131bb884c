#pragma once
// The list window's 編集 (also a double-click on a row) and 追加: each opens the entry editor on
// one slot of the book and stores the entry when the editor decided on it.

class CTelListDlg;

void runEditCommand(CTelListDlg& list);
void runAddCommand(CTelListDlg& list);
