// vemblor-cli import and export: the command-line twins of 連絡先の取り込み and スマートフォン用に
// 書き出し, and convert left as it was for a vCard 3.0 file.

#include "tests/exchange/cli_run.h"
#include "tests/exchange/contact_files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject readJson(const QString& path)
{
    return QJsonDocument::fromJson(readAll(path)).object();
}

using CliContacts = CliTest;

TEST_F(CliContacts, ImportWritesTheBookAndTheReport)
{
    const CliRun run = cli({QStringLiteral("import"), contacts("smartphone-3.0.vcf"),
                            path("book.json"), QStringLiteral("--report"), path("report.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject book = readJson(path("book.json"));
    EXPECT_EQ(book.value(QStringLiteral("count")).toInt(), 1);
    const QJsonObject entry = book.value(QStringLiteral("entries")).toArray().at(0).toObject();
    EXPECT_EQ(entry.value(QStringLiteral("name")).toString(), QStringLiteral("山田太郎"));
    EXPECT_EQ(entry.value(QStringLiteral("furigana")).toString(), QStringLiteral("ﾔﾏﾀﾞﾀﾛｳ"));

    const QJsonObject report = readJson(path("report.json"));
    EXPECT_EQ(report.value(QStringLiteral("cards")).toInt(), 1);
    const QJsonArray changes = report.value(QStringLiteral("entries"))
                                   .toArray()
                                   .at(0)
                                   .toObject()
                                   .value(QStringLiteral("changes"))
                                   .toArray();
    QStringList fields;
    for (const QJsonValue change : changes)
        fields << change.toObject().value(QStringLiteral("field")).toString();
    EXPECT_TRUE(fields.contains(QStringLiteral("電話番号4")));
    // The same changes on the terminal.
    EXPECT_TRUE(run.out.contains(QStringLiteral("1件目 山田太郎: 電話番号は3件までのため")));
}

TEST_F(CliContacts, ImportToVCardWritesTheProgramsOwnFile)
{
    const CliRun run = cli({QStringLiteral("import"), contacts("mail-ja.csv"), path("book.vcf")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(readAll(path("book.vcf")).contains("VERSION:2.1\r\n"));
    EXPECT_EQ(cli({QStringLiteral("check"), path("book.vcf")}).exitCode, 0);
}

TEST_F(CliContacts, FailuresSayWhyAndWriteNothing)
{
    QFile german(path("german.csv"));
    ASSERT_TRUE(german.open(QIODevice::WriteOnly));
    german.write("Vorname,Nachname,E-Mail-Adresse\r\nMax,Muster,max@example.de\r\n");
    german.close();
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{QStringLiteral("import"), path("german.csv"), path("out.json")},
         1,
         "「CSV インポート」を使ってください。"},
        {{QStringLiteral("import"), path("missing.vcf"), path("out.json")},
         1,
         "連絡先ファイルを開けません。"},
        {{QStringLiteral("import"), contacts("card-4.0.vcf"), path("out.csv")},
         2,
         "OUT must be a .vcf or .json file"},
        {{QStringLiteral("import"), contacts("card-4.0.vcf"), path("out.json"),
          QStringLiteral("--report")},
         2,
         "--report needs a file name"},
        {{QStringLiteral("import"), contacts("card-4.0.vcf"), path("out.json"),
          QStringLiteral("--reprot"), path("report.json")},
         2,
         "reprot"},
        {{QStringLiteral("import"), contacts("card-4.0.vcf"), path("out.json"),
          QStringLiteral("--report"), path("out.json")},
         1,
         "the report would be written over OUT"},
        {{QStringLiteral("export"), contacts("card-4.0.vcf"), path("out.json")},
         2,
         "OUT must be a .vcf or .csv file"},
        {{QStringLiteral("export"), path("german.csv"), path("out.vcf")},
         1,
         "convert IN OUT --map"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.message))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("out.json")));
    EXPECT_FALSE(QFile::exists(path("out.vcf")));
    EXPECT_FALSE(QFile::exists(path("out.csv")));
}

TEST_F(CliContacts, ConvertStillRefusesAVCard30File)
{
    const CliRun run =
        cli({QStringLiteral("convert"), contacts("service-3.0.vcf"), path("out.json")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("vCardのバージョンが異なる為")));
    EXPECT_FALSE(QFile::exists(path("out.json")));
}

TEST_F(CliContacts, ExportWritesVCard30OrCsvByTheSuffix)
{
    ASSERT_EQ(cli({QStringLiteral("export"), contacts("handset-2.1-utf8-qp.vcf"), path("out.vcf")})
                  .exitCode,
              0);
    EXPECT_EQ(readAll(path("out.vcf")),
              QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:佐藤花子;;;;\r\nFN:佐藤花子\r\n"
                             "X-PHONETIC-LAST-NAME:サトウハナコ\r\nSORT-STRING:サトウハナコ\r\n"
                             "TEL;TYPE=CELL:09011112222\r\nTEL;TYPE=VOICE:0312340000\r\n"
                             "EMAIL;TYPE=INTERNET:hanako@example.jp\r\n"
                             "NOTE:メモ：①番の件\r\nEND:VCARD\r\n")
                  .toUtf8());
    ASSERT_EQ(cli({QStringLiteral("export"), contacts("handset-2.1-utf8-qp.vcf"), path("out.csv")})
                  .exitCode,
              0);
    const QList<QByteArray> lines = readAll(path("out.csv")).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("First Name,Last Name,Phonetic First Name,Phonetic Last Name"));
    EXPECT_EQ(lines[1], QStringLiteral(",佐藤花子,,サトウハナコ,メモ：①番の件,,,Other,"
                                       "hanako@example.jp,,,,,Mobile,09011112222,Home,"
                                       "0312340000,,\r")
                            .toUtf8());
}

TEST_F(CliContacts, ExportReadsACsvWithConvertsColumnMap)
{
    QFile plain(path("plain.csv"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("\x8C\xA9\x96\x7B,\xB0\xC0\xDE,0312345678\r\n"); // 見本,ｰﾀﾞ (Shift-JIS)
    plain.close();
    const CliRun run = cli({QStringLiteral("export"), path("plain.csv"), path("out.vcf"),
                            QStringLiteral("--map"), QStringLiteral("name=0,furigana=1,tel1=2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray vcard = readAll(path("out.vcf"));
    EXPECT_TRUE(vcard.contains(QStringLiteral("FN:見本\r\n").toUtf8()));
    EXPECT_TRUE(vcard.contains(QStringLiteral("X-PHONETIC-LAST-NAME:ーダ\r\n").toUtf8()));
    EXPECT_TRUE(vcard.contains("TEL;TYPE=VOICE:0312345678\r\n"));
}

} // namespace
