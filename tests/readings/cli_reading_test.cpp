// vemblor-cli reading, run as the separate program scripts call.

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
};

CliRun cli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VEMBLOR_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}

TEST(CliReading, PrintsOneLineOfCandidatesPerName)
{
    const CliRun run = cli({QStringLiteral("reading"), QStringLiteral("鈴木 一郎"),
                            QStringLiteral("ABC"), QStringLiteral("さくら")});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString(); // three lines and the final newline
    // Candidates are separated by blanks, so a reading with a blank is not split apart: the
    // line starts with the best candidate for both parts.
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("ｽｽﾞｷ ｲﾁﾛｳ"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("ｻｸﾗ"));
}

TEST(CliReading, PrintsAJsonListOfLists)
{
    const CliRun run = cli({QStringLiteral("reading"), QStringLiteral("--json"),
                            QStringLiteral("佐藤"), QStringLiteral("Taro")});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonArray lists = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(lists.size(), 2) << run.out.toStdString();
    EXPECT_EQ(lists[0].toArray().first().toString(), QStringLiteral("ｻﾄｳ"));
    EXPECT_TRUE(lists[1].toArray().isEmpty());
}

TEST(CliReading, WithoutNamesItShowsItsUsage)
{
    EXPECT_EQ(cli({QStringLiteral("reading")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("reading"), QStringLiteral("--json")}).exitCode, 2);
}

} // namespace
