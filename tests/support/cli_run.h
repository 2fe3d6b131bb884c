#pragma once
// Runs vemblor-cli (VEMBLOR_CLI, the built program) as the separate program scripts call.

#include <QProcess>
#include <QString>
#include <QStringList>

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
