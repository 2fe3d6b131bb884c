#pragma once
// The list window's command CSV インポート: discard the book, choose a file, read it under the
// progress dialog, then let the user assign its columns, which replaces the book.

class CTelListDlg;

void importCsv(CTelListDlg& list);
