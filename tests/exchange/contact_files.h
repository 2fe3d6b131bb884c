#pragma once
// The hand-written contact files of tests/data/contacts and reading a file whole.

#include <QByteArray>
#include <QFile>
#include <QString>

inline QString contacts(const char* name)
{
    return QStringLiteral(VEMBLOR_TEST_DATA "/contacts/") + QString::fromUtf8(name);
}

// The bytes of the file, or nothing when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
