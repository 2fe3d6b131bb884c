// vemblor-cli given what is not a plain file as input, or its own input as output: it says so,
// exits 1, and neither reads without end nor writes anything.

#include "tests/exchange/cli_run.h"
#include "tests/exchange/contact_files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The same file as output, by its own name, another path to it, a link or a hard link: the
// rich input would be replaced by what the phone book keeps of it.
TEST_F(CliBadInput, OutputOntoItsOwnInputIsRefusedAndWritesNothing)
{
    const QString in = path("book.vcf");
    ASSERT_TRUE(QFile::copy(contacts("service-3.0.vcf"), in));
    const QByteArray original = readAll(in);
    ASSERT_TRUE(QFile::link(in, path("link.vcf")));
    ASSERT_TRUE(QFile::link(in, path("link.json")));
    ASSERT_EQ(::link(in.toLocal8Bit().constData(), path("hard.vcf").toLocal8Bit().constData()), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString roundabout = dir.path() + QStringLiteral("/sub/../book.vcf");

    const auto arguments = [&](const char* verb, const QString& out) {
        return QStringList{QString::fromUtf8(verb), in, out};
    };
    const QStringList cases[] = {
        arguments("import", in),
        arguments("import", roundabout),
        arguments("import", path("link.json")),
        arguments("import", path("hard.vcf")),
        arguments("import", path("out.json")) << QStringLiteral("--report") << path("link.vcf"),
        arguments("convert", in),
        arguments("convert", path("link.vcf")),
        arguments("export", in),
        arguments("export", path("hard.vcf")),
    };
    for (const QStringList& c : cases) {
        const CliRun run = cli(c);
        EXPECT_EQ(run.exitCode, 1) << c.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("OUT is the input file itself")))
            << c.join(QLatin1Char(' ')).toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(readAll(in) == original) << c.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(path("out.json")));
    }
    // A different file of the same content is no reason to refuse.
    ASSERT_TRUE(QFile::copy(in, path("copy.vcf")));
    const CliRun run = cli(arguments("import", path("copy.vcf")));
    EXPECT_FALSE(run.err.contains(QStringLiteral("OUT is the input file itself")));
    EXPECT_TRUE(readAll(path("copy.vcf")).contains("VERSION:2.1"));
}

// A full disk, made by a file size limit that the system enforces with EFBIG as it would
// ENOSPC (/dev/full cannot serve: the new file is written beside its target first).
TEST_F(CliBadInput, ExportToAFullDiskNamesTheReasonAndKeepsTheOldFile)
{
    const QByteArray old(50, 'o');
    for (const char* name : {"out.vcf", "out.csv"}) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
        file.close();
        QProcess process;
        process.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100, 100};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QStringLiteral(VEMBLOR_CLI),
                      {QStringLiteral("export"), contacts("round-trip-book.vcf"), path(name)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 1) << name;
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed(),
                  QStringLiteral("保存先のディスク容量がいっぱいです。"))
            << name;
        EXPECT_TRUE(readAll(path(name)) == old) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("out.csv"), QStringLiteral("out.vcf")}));
}

} // namespace
