#pragma once
// vemblor-cli run as the separate program scripts call, with what it printed.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline CliRun cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VEMBLOR_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A test that runs the tool on files of its own temporary folder.
class CliTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};
