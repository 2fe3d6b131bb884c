// vemblor-cli emulate and read as separate processes over a pseudo-terminal.

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString cli()
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
};

Result runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(cli(), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

TEST(CliHandset, EmulatorPrintsItsDeviceAndEndsCleanlyOnTerminate)
{
    Emulator emulator({QStringLiteral("--model"), QStringLiteral("VN540R")});
    ASSERT_TRUE(emulator.device.startsWith(QLatin1String("/dev/")));
    emulator.process.terminate();
    ASSERT_TRUE(emulator.process.waitForFinished(10000));
    EXPECT_EQ(emulator.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(emulator.process.exitCode(), 0);
}

TEST(CliHandset, ReadRunsTheTransferAndReportsTheHandsetsMessages)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.vcf"));
    {
        Emulator emulator({});
        ASSERT_FALSE(emulator.device.isEmpty());
        const Result empty =
            runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
        EXPECT_EQ(empty.status, 1);
        EXPECT_EQ(empty.out, QStringLiteral("電話帳登録件数が０件です\n"));
    }
    {
        Emulator emulator({QStringLiteral("--fail"), QStringLiteral("identify")});
        const Result other =
            runCli({QStringLiteral("read"), QStringLiteral("--port"), emulator.device, out});
        EXPECT_EQ(other.status, 1);
        EXPECT_EQ(other.out,
                  QStringLiteral("ＱＶＲ製端末ではないため電話帳データコピーができません。\n"));
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST(CliHandset, BadUsageExitsWithTwo)
{
    const QStringList cases[] = {
        {QStringLiteral("read"), QStringLiteral("out.vcf")},
        {QStringLiteral("write"), QStringLiteral("--port")},
        {QStringLiteral("emulate"), QStringLiteral("--fail"), QStringLiteral("nowhere")},
        {QStringLiteral("emulate"), QStringLiteral("--silent"), QStringLiteral("erase:0")},
        {QStringLiteral("emulate"), QStringLiteral("--model"), QStringLiteral("ABCDEFGHIJ")},
    };
    for (const QStringList& arguments : cases)
        EXPECT_EQ(runCli(arguments).status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
}

TEST(CliHandset, PortThatDoesNotOpenExitsWithOne)
{
    const Result result = runCli({QStringLiteral("read"), QStringLiteral("--port"),
                                  QStringLiteral("/nonexistent/tty"), QStringLiteral("x.vcf")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, QStringLiteral("有効なＣＯＭポートではありません。\n"));
}

} // namespace
