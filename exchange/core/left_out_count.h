#pragma once
// What a reader that stops at the book's limit never looked at, counted afterwards so that the
// user is told how much of the file was left out. Both scan the file once, a line at a time.

#include <QString>

// Cards of a vCard file beyond the first `kept`, counted by the lines that begin a card as the
// vCard reader finds them.
int vCardCardsBeyond(const QString& path, int kept);
// Lines of a text file (CR LF or LF) beyond the first `kept`; CSV rows are lines.
int linesBeyond(const QString& path, int kept);
