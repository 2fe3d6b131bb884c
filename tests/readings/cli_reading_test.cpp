// vemblor-cli reading and convert --readings, run as the separate program scripts call.

#include "tests/exchange/cli_run.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(CliReading, PrintsOneLineOfCandidatesPerName)
{
    const CliRun run = cli({QStringLiteral("reading"), QStringLiteral("鈴木 一郎"),
                            QStringLiteral("★"), QStringLiteral("さくら"),
                            QStringLiteral("Smith John"), QStringLiteral("株式会社山田工務店")});
    EXPECT_EQ(run.exitCode, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6) << run.out.toStdString(); // five lines and the final newline
    // Candidates are separated by blanks, so a reading with a blank is not split apart: the
    // line starts with the best candidate for both parts.
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("ｽｽﾞｷ ｲﾁﾛｳ"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("ｻｸﾗ"));
    // Latin letters read as themselves; a company without its legal form.
    EXPECT_EQ(lines[3], QStringLiteral("SMITH JOHN"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("ﾔﾏﾀﾞｺｳﾑﾃﾝ"))) << lines[4].toStdString();
}

TEST(CliReading, PrintsAJsonListOfLists)
{
    const CliRun run = cli({QStringLiteral("reading"), QStringLiteral("--json"),
                            QStringLiteral("佐藤"), QStringLiteral("★")});
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

// Writes text as code page 932 into dir/name and returns the path.
QString writeFile(const QTemporaryDir& dir, const char* name, const QString& text)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringEncoder("windows-31j").encode(text));
    return path;
}

QStringList readingsIn(const QString& jsonPath)
{
    QFile file(jsonPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList readings;
    for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll())
                                       .object()
                                       .value(QStringLiteral("entries"))
                                       .toArray())
        readings << entry.toObject().value(QStringLiteral("furigana")).toString();
    return readings;
}

TEST(CliConvert, ReadingsOptionMakesMissingReadingsFromTheNames)
{
    QTemporaryDir dir;
    const QString vcf = writeFile(
        dir, "in.vcf",
        QStringLiteral(
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:佐藤 花子;;;;\r\n"
            "TEL;CELL:09011112222\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:鈴木 一郎;;;;\r\n"
            "SOUND;X-IRMC-N;CHARSET=SHIFT_JIS:ｲﾁﾛｰ;;;;\r\nTEL;CELL:0312345678\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:★;;;;\r\nTEL;CELL:0120\r\nEND:VCARD\r\n"));
    const QString json = dir.filePath(QStringLiteral("out.json"));

    // Without the option the import completes the reading from the number.
    CliRun run = cli({QStringLiteral("convert"), vcf, json});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readingsIn(json), (QStringList{QStringLiteral("09011112222"), QStringLiteral("ｲﾁﾛｰ"),
                                             QStringLiteral("0120")}));

    // With it the name is read first; the file's own reading and an unreadable name stay.
    run = cli({QStringLiteral("convert"), vcf, json, QStringLiteral("--readings")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readingsIn(json), (QStringList{QStringLiteral("ｻﾄｳ ﾊﾅｺ"), QStringLiteral("ｲﾁﾛｰ"),
                                             QStringLiteral("0120")}));

    // A CSV row with an empty reading fails the record check, unless the name is read.
    const QString csv = writeFile(dir, "in.csv", QStringLiteral("山田 太郎,0311112222,\r\n"));
    run = cli({QStringLiteral("convert"), csv, json, QStringLiteral("--map"),
               QStringLiteral("name=0,tel1=1,furigana=2")});
    EXPECT_EQ(run.exitCode, 1);
    run = cli({QStringLiteral("convert"), csv, json, QStringLiteral("--map"),
               QStringLiteral("name=0,tel1=1,furigana=2"), QStringLiteral("--readings")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readingsIn(json), QStringList{QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")});
}

TEST(CliImport, ContactsWithoutAReadingGetOneMadeFromTheNameMarkedAsProposed)
{
    QTemporaryDir dir;
    const QString contacts = dir.filePath(QStringLiteral("contacts.vcf"));
    QFile file(contacts);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:佐藤 花子\r\nN:佐藤;花子;;;\r\n"
                              "TEL;TYPE=CELL:09011112222\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:★\r\nN:★;;;;\r\n"
                              "TEL;TYPE=CELL:0120\r\nEND:VCARD\r\n"
                              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:John Smith\r\n"
                              "N:Smith;John;;;\r\nTEL;TYPE=CELL:0130\r\nEND:VCARD\r\n")
                   .toUtf8());
    file.close();
    const QString json = dir.filePath(QStringLiteral("out.json"));
    const QString report = dir.filePath(QStringLiteral("report.json"));
    const CliRun run =
        cli({QStringLiteral("import"), contacts, json, QStringLiteral("--report"), report});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The name that can be read (stored from N: without a blank) gets its reading; the other
    // one the completion's number.
    // A name in Latin letters reads as its letters, not as the number.
    EXPECT_EQ(readingsIn(json), (QStringList{QStringLiteral("ｻﾄｳﾊﾅｺ"), QStringLiteral("0120"),
                                             QStringLiteral("JOHN SMITH")}));
    EXPECT_TRUE(run.out.contains(QStringLiteral("ｻﾄｳﾊﾅｺ"))) << run.out.toStdString();

    QFile reportFile(report);
    ASSERT_TRUE(reportFile.open(QIODevice::ReadOnly));
    const QJsonArray entries = QJsonDocument::fromJson(reportFile.readAll())
                                   .object()
                                   .value(QStringLiteral("entries"))
                                   .toArray();
    auto changesOf = [&entries](int index) {
        QStringList kinds;
        for (const QJsonValue& entry : entries)
            if (entry.toObject().value(QStringLiteral("index")).toInt() == index)
                for (const QJsonValue& change :
                     entry.toObject().value(QStringLiteral("changes")).toArray())
                    kinds << change.toObject().value(QStringLiteral("change")).toString();
        return kinds;
    };
    EXPECT_TRUE(changesOf(0).contains(QStringLiteral("proposed")))
        << changesOf(0).join(QLatin1Char(',')).toStdString();
    EXPECT_FALSE(changesOf(1).contains(QStringLiteral("proposed")));
    EXPECT_TRUE(changesOf(2).contains(QStringLiteral("proposed")));
}

} // namespace
