// vemblor-cli given what is not a plain file as input, or its own input as output: it says so,
// exits 1, and neither reads without end nor writes anything.

#include "tests/exchange/cli_run.h"
#include "tests/exchange/contact_files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using CliBadInput = CliTest;

// Devices and pipes, under their own names and behind links named like contact files.
TEST_F(CliBadInput, DevicesAndPipesAreRefusedWithoutReading)
{
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.vcf")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.csv")));
    // Nobody writes into the pipe: opening it would wait for ever.
    ASSERT_EQ(mkfifo(path("pipe.vcf").toLocal8Bit().constData(), 0600), 0);
    const QString out = path("out.json");
    const QStringList inputs = {QStringLiteral("/dev/zero"), path("zero.vcf"), path("zero.csv"),
                                path("pipe.vcf")};
    for (const QString& in : inputs) {
        for (const char* verb : {"import", "export"}) {
            const QString target =
                QLatin1String(verb) == QLatin1String("import") ? out : path("out.vcf");
            const CliRun run = cliBounded({QString::fromUtf8(verb), in, target});
            EXPECT_EQ(run.exitCode, 1) << verb << ' ' << in.toStdString();
            EXPECT_TRUE(run.err.contains(QStringLiteral("通常のファイルではない")))
                << verb << ' ' << in.toStdString() << ": " << run.err.toStdString();
            EXPECT_FALSE(QFile::exists(target));
        }
    }
    // convert and export with convert's readers refuse them as well.
    for (const QString& in : {path("zero.vcf"), path("zero.csv"), path("pipe.vcf")}) {
        const QStringList options =
            in.endsWith(QLatin1String(".csv"))
                ? QStringList{QStringLiteral("--map"), QStringLiteral("name=0,tel1=1")}
                : QStringList{};
        EXPECT_EQ(cliBounded(QStringList{QStringLiteral("convert"), in, out} + options).exitCode, 1)
            << in.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
}

} // namespace
