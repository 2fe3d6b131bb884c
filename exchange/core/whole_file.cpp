#include "exchange/core/whole_file.h"

#include <QSaveFile>

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
