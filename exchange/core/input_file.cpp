#include "exchange/core/input_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

bool isPlainFileOrMissing(const QString& path)
{
    const QFileInfo info(path); // follows links, so a link to /dev/zero is no file either
    return !info.exists() || info.isFile();
}

InputFile readInputFile(const QString& path, qint64 limit)
{
    InputFile result;
    if (!isPlainFileOrMissing(path)) {
        result.error = InputFileError::NotAFile;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = InputFileError::CannotOpen;
        return result;
    }
    // The name may have been replaced by a device between the look and the open.
    if (file.isSequential()) {
        result.error = InputFileError::NotAFile;
        return result;
    }
    // Read until the end or one byte past the limit, which tells a file at the limit from a
    // larger one even when it grows while it is read; the size only decides the first room.
    result.bytes.reserve(std::min(file.size(), limit) + 1);
    constexpr qint64 CHUNK = 1 << 20;
    while (result.bytes.size() <= limit) {
        const qint64 before = result.bytes.size();
        const qint64 take = std::min(CHUNK, limit + 1 - before);
        result.bytes.resize(before + take);
        const qint64 got = file.read(result.bytes.data() + before, take);
        result.bytes.resize(before + std::max<qint64>(got, 0));
        if (got < 0) {
            result.error = InputFileError::CannotOpen;
            break;
        }
        if (got == 0)
            break;
    }
    if (result.error == InputFileError::None && result.bytes.size() > limit)
        result.error = InputFileError::TooLarge;
    if (result.error != InputFileError::None)
        result.bytes.clear();
    return result;
}
