#pragma once
// The phone book files of vemblor-cli (vCard 2.1), read and written by the same reader and
// writer as the program's インポート and 保存. Each prints its own failure message (the reader's or
// writer's, or the command's message for a file that could not be opened) and returns false.

#include "phonebook/core/tel_book.h"

#include <QString>

// Replaces book by the cards of the file. A file without cards is a failure (the reader says
// so), and on every failure book is left as it was.
bool loadBookFile(const QString& path, TelBook& book);
// Writes book to path; an old file there stays whole unless the new one is complete.
bool saveBookFile(const QString& path, const TelBook& book);
