#pragma once
// The file the CSV benchmarks read: 1000 lines of 256 fields, each as full as a line allows
// (a line with its LF must stay within 25,599 bytes, so 255 fields of 99 bytes and one of 98).

#include <QByteArray>
#include <QFile>
#include <QString>

inline QString writeFullCsvFile(const QString& path)
{
    QByteArray line;
    for (int column = 0; column < 256; ++column) {
        if (column)
            line += ',';
        // Double-byte characters (表, trail byte 0x5C) and ASCII, as a Japanese export has.
        QByteArray field = column % 2 ? QByteArray("\x95\x5C").repeated(49) + 'x'
                                      : QByteArray("0312345678").repeated(10).left(99);
        line += column == 255 ? field.left(98) : field;
    }
    line += '\n';
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        for (int row = 0; row < 1000; ++row)
            file.write(line);
    return path;
}
