#pragma once
// A file replaced whole or not at all: the bytes go to a file beside it that is renamed over it
// only once every byte was written, so a full disk or a stopped program never leaves half a file
// in place of a good one.

#include <QByteArray>
#include <QString>

// False, with the file at path as it was, when it could not be written whole.
bool writeWholeFile(const QString& path, const QByteArray& bytes);
