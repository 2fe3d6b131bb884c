// vemblor-cli convert on files beyond what the book holds: it keeps the first 1000 and says how
// many it left out, as import does.

#include "tests/exchange/cli_run.h"
#include "tests/exchange/contact_files.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

using CliConvertLimits = CliTest;

QByteArray vCards(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS:Name" + QByteArray::number(i) +
                "\r\nSOUND;X-IRMC-N;CHARSET=SHIFT_JIS:ﾅ\r\nTEL;CELL:0900000" +
                QByteArray::number(1000 + i) + "\r\nEND:VCARD\r\n";
    return text;
}

QByteArray csvRows(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text +=
            "Name" + QByteArray::number(i) + ",NA,0900000" + QByteArray::number(1000 + i) + "\r\n";
    return text;
}

TEST_F(CliConvertLimits, SaysHowManyCardsOrRowsWereLeftOut)
{
    const struct {
        const char* name;
        QByteArray content;
        const char* leftOut; // nullptr: nothing left out
    } cases[] = {
        {"1003.vcf", vCards(1003), "3件を取り込みませんでした"},
        {"1000.vcf", vCards(1000), nullptr},
        {"1002.csv", csvRows(1002), "2件を取り込みませんでした"},
        {"1000.csv", csvRows(1000), nullptr},
    };
    for (const auto& c : cases) {
        QFile file(path(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        QStringList arguments = {QStringLiteral("convert"), path(c.name), path("out.json")};
        if (QString::fromUtf8(c.name).endsWith(QLatin1String(".csv")))
            arguments << QStringLiteral("--map") << QStringLiteral("name=0,furigana=1,tel1=2");
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.err.toStdString();
        const QJsonObject book = QJsonDocument::fromJson(readAll(path("out.json"))).object();
        EXPECT_EQ(book.value(QStringLiteral("count")).toInt(), 1000) << c.name;
        if (c.leftOut)
            EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.leftOut)))
                << c.name << ": " << run.out.toStdString();
        else
            EXPECT_FALSE(run.out.contains(QStringLiteral("取り込みませんでした"))) << c.name;
    }
}

} // namespace
