#pragma once
// vemblor-cli run as the separate program scripts call, with what it printed.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

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

// The same for input that may never end: the tool gets an address-space limit and a few
// seconds, and is killed past them, so a fault shows as a failure rather than a full machine.
inline CliRun cliBounded(const QStringList& arguments, int milliseconds = 10000)
{
    QProcess process;
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of address space for itself and cannot start under
    // such a limit: its own resident-memory limit bounds the tool instead.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       (options.isEmpty() ? QString() : options + QLatin1Char(':')) +
                           QStringLiteral("hard_rss_limit_mb=1024"));
    process.setProcessEnvironment(environment);
#else
    process.setChildProcessModifier([] {
        const rlimit limit{1024ul << 20, 1024ul << 20};
        setrlimit(RLIMIT_AS, &limit);
    });
#endif
    process.start(QStringLiteral(VEMBLOR_CLI), arguments);
    const bool finished = process.waitForFinished(milliseconds);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    EXPECT_TRUE(finished) << "still running after " << milliseconds
                          << " ms: " << arguments.join(QLatin1Char(' ')).toStdString();
    return {finished ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A test that runs the tool on files of its own temporary folder.
class CliTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};
