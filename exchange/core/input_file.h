#pragma once
// Reads a whole input file into memory, never more than a limit. Only a regular file is read:
// a device or a pipe (also when a link with a .vcf or .csv name leads to one) reports no size
// and may never end, so it is refused before a byte is taken from it.

#include <QByteArray>
#include <QString>

enum class InputFileError {
    None,
    CannotOpen, // missing, unreadable, or the read failed
    NotAFile,   // a device, pipe, socket or folder
    TooLarge,   // more bytes than the limit
};

struct InputFile {
    InputFileError error = InputFileError::None;
    QByteArray bytes; // the whole file when error is None
};

// False for a device, pipe, socket or folder, also behind a link; true for a regular file and
// for a name that does not exist (opening it then fails as usual).
bool isPlainFileOrMissing(const QString& path);

InputFile readInputFile(const QString& path, qint64 limit);
