#pragma once
// vemblor-cli run as a process by the tests: the simulated handset (emulate) in the background,
// a command to its end, and the book files they exchange.

#include "exchange/core/vcard_reader.h"
#include "exchange/core/vcard_writer.h"
#include "tests/exchange/scripted_host.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

inline QString cli()
{
    return QStringLiteral(VEMBLOR_CLI);
}

struct Emulator {
    explicit Emulator(const QStringList& options)
    {
        process.start(cli(), QStringList{QStringLiteral("emulate")} + options);
        if (process.waitForReadyRead(10000))
            device = QString::fromUtf8(process.readLine()).trimmed();
    }
    ~Emulator()
    {
        process.terminate();
        process.waitForFinished(10000);
    }
    QProcess process;
    QString device;
};

struct Result {
    int status;
    QString out;
    QString err = {};
};

// workDir: where a write keeps its backups by default.
inline Result runCli(const QStringList& arguments, const QString& workDir = {})
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(cli(), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

inline void writeBook(const QString& path, const TelBook& book)
{
    ScriptedHost host;
    ASSERT_EQ(writeVCardFile(path, book, host), FILE_TASK_DONE);
}

inline std::unique_ptr<TelBook> readBook(const QString& path)
{
    auto book = std::make_unique<TelBook>();
    ScriptedHost host;
    EXPECT_EQ(readVCardFile(path, *book, host), FILE_TASK_DONE) << path.toStdString();
    EXPECT_TRUE(host.shown.isEmpty()) << path.toStdString();
    return book;
}
