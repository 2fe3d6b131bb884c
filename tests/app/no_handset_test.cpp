// A build without the simulated handset: --demo and emulate say they are left out, before
// anything is read or created, and the help lists neither.

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun run(const char* program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QString::fromUtf8(program), arguments);
    const bool finished = process.waitForFinished(20000);
    if (!finished) {
        process.kill(); // a main window that opened: the refusal did not come
        process.waitForFinished();
    }
    EXPECT_TRUE(finished) << program;
    return {finished ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(NoSimulatedHandset, DemoIsRefusedBeforeTheSettingsFileIsCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProgramRun demo = run(VEMBLOR_GUI, {QStringLiteral("--demo")}, dir.path());
    EXPECT_EQ(demo.exitCode, 1);
    EXPECT_TRUE(demo.err.contains(QStringLiteral("--demo is not available")))
        << demo.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());

    const ProgramRun help = run(VEMBLOR_GUI, {QStringLiteral("--help")}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--help")));
    EXPECT_FALSE(help.out.contains(QStringLiteral("--demo"))) << help.out.toStdString();
}

TEST(NoSimulatedHandset, TheToolsHelpLeavesOutEmulateWhichSaysWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProgramRun help = run(VEMBLOR_CLI, {QStringLiteral("--help")}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("convert")));
    EXPECT_FALSE(help.out.contains(QStringLiteral("emulate"))) << help.out.toStdString();

    const ProgramRun emulate = run(VEMBLOR_CLI, {QStringLiteral("emulate")}, dir.path());
    EXPECT_EQ(emulate.exitCode, 1);
    EXPECT_TRUE(emulate.err.contains(QStringLiteral("emulate is not available")));
}

} // namespace
