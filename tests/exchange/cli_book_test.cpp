// vemblor-cli convert and check, run as the separate program scripts call.

#include "tests/exchange/cli_run.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString corpus(const char* name)
{
    return QStringLiteral(VEMBLOR_CORPUS "/vcard/") + QString::fromUtf8(name);
}

const QString EXAMPLE = QStringLiteral(VEMBLOR_TEST_DATA "/vcard/writer-example.vcf");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file without its revision lines, which carry the time of the save.
QByteArray withoutRevision(QByteArray bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeIf([](const QByteArray& line) { return line.startsWith("REV:"); });
    return lines.join('\n');
}

using Cli = CliTest;

TEST_F(Cli, ConvertsAVCardFileToTheSameVCardAndToJson)
{
    CliRun run = cli({QStringLiteral("convert"), EXAMPLE, path("out.vcf")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(withoutRevision(readAll(path("out.vcf"))), withoutRevision(readAll(EXAMPLE)));

    run = cli({QStringLiteral("convert"), EXAMPLE, path("out.json")});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject root = QJsonDocument::fromJson(readAll(path("out.json"))).object();
    EXPECT_EQ(root.value(QStringLiteral("count")).toInt(), 1);
    const QJsonObject entry = root.value(QStringLiteral("entries")).toArray().at(0).toObject();
    EXPECT_EQ(entry.value(QStringLiteral("name")).toString(), QStringLiteral("見本太郎"));
    EXPECT_EQ(entry.value(QStringLiteral("furigana")).toString(), QStringLiteral("ﾐﾎﾝﾀﾛｳ"));
    EXPECT_EQ(entry.value(QStringLiteral("group")).toInt(), 1);
    EXPECT_EQ(entry.value(QStringLiteral("secret")).toInt(), 0);
    const QJsonArray tel = entry.value(QStringLiteral("tel")).toArray();
    ASSERT_EQ(tel.size(), 3);
    EXPECT_EQ(tel.at(0).toObject().value(QStringLiteral("kind")).toInt(), 1);
    EXPECT_EQ(tel.at(0).toObject().value(QStringLiteral("number")).toString(),
              QStringLiteral("09012345678"));
    EXPECT_EQ(entry.value(QStringLiteral("mail"))
                  .toArray()
                  .at(2)
                  .toObject()
                  .value(QStringLiteral("kind"))
                  .toInt(),
              1);
    EXPECT_EQ(entry.value(QStringLiteral("memo")).toString(),
              QStringLiteral("毎週月曜日の午前１０時から第二会議室で定例会議"));
}

TEST_F(Cli, WritesNothingWhenTheRecordCheckFailsAndNamesTheEntry)
{
    for (const char* name : {"a.json", "a.vcf"}) {
        QFile old(path(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old book");
        old.close();
        const CliRun run =
            cli({QStringLiteral("convert"), corpus("symbian-jp-aoki-sound-fullwidth-katakana.vcf"),
                 path(name)});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.err.contains(QStringLiteral(
            "1件目 青木功: 電話番号１に不正な文字があるためインポートを中止しました")))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("OUT was not written")));
        EXPECT_EQ(readAll(path(name)), QByteArray("the old book")) << name;
    }
}

TEST_F(Cli, AFailedImportSaysWhyAndWritesNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"ezvcard-ms-outlook-2.1-long-note-line.vcf",
         "vCardファイルに異常がある為、インポート処理を終了します。"},
        {"ezvcard-gmail-3.0.vcf", "vCardのバージョンが異なる為、インポート処理を終了します。"},
        {"kcontacts-netscape-lowercase-2.1.vcf", "vCardファイルに電話帳のデータがありません。"},
        {"no-such-file.vcf", "vCardファイルに異常がある為、インポート処理を終了します。"},
    };
    for (const auto& [file, message] : cases) {
        const CliRun run = cli({QStringLiteral("convert"), corpus(file), path("out.vcf")});
        EXPECT_EQ(run.exitCode, 1) << file;
        EXPECT_EQ(run.err.trimmed(), QString::fromUtf8(message)) << file;
        EXPECT_FALSE(QFile::exists(path("out.vcf"))) << file;
    }
    const CliRun run = cli({QStringLiteral("convert"), EXAMPLE, path("missing/out.vcf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("パスが見つかりません。"));
}

TEST_F(Cli, ChecksABook)
{
    CliRun run = cli({QStringLiteral("check"), EXAMPLE});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty() && run.out.isEmpty());
    run = cli({QStringLiteral("check"), corpus("gammu-se-1-sonyericsson-2.1.vcf")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(),
              QStringLiteral("電話番号１に不正な文字があるためインポートを中止しました"));
}

TEST_F(Cli, RefusesBadUsage)
{
    const QStringList cases[] = {
        {QStringLiteral("convert"), EXAMPLE},
        {QStringLiteral("convert"), EXAMPLE, path("out.txt")},
        {QStringLiteral("convert"), path("in.txt"), path("out.vcf")},
        {QStringLiteral("convert"), EXAMPLE, path("out.vcf"), QStringLiteral("--map")},
        {QStringLiteral("check")},
        {QStringLiteral("check"), EXAMPLE, EXAMPLE},
    };
    for (const QStringList& arguments : cases) {
        EXPECT_EQ(cli(arguments).exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(QFile::exists(path("out.vcf")));
    }
}

} // namespace
