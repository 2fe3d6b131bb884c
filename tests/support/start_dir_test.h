#pragma once
// A test that runs in a temporary working directory of its own, which is where the program keeps
// Vemblor.ini and looks for the manual, with settings of its own.

#include "app/core/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StartDirTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString ini() const { return dir.filePath(QStringLiteral("Vemblor.ini")); }

    QTemporaryDir dir;
    QString previous;
    Settings settings; // the program's, handed to its windows
};
