#pragma once
// The list window's commands that save the book as a vCard file or import one: they settle the
// file, run the task under the progress window and tell the user what went wrong.

class BookDocument;
class CTelListDlg;
class QWidget;

// Saves document to its file, asking for one (over window) when there is none; true when it
// was saved. What went wrong has been said.
bool saveDocument(BookDocument& document, QWidget* window);
// 保存: to the current file, asking for one when there is none.
void saveBook(CTelListDlg& list);
// 名前を付けて保存: always asks for the file.
void saveBookAs(CTelListDlg& list);
// vCard インポート: replaces the book with the cards of a chosen file.
void importVCard(CTelListDlg& list);
