// Whole-file reads under a limit: a regular file up to the limit is read, anything larger, and
// anything that is not a regular file, is refused.

#include "exchange/core/input_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(InputFile, ReadsUpToTheLimitAndRefusesTheRest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sevenBytes = dir.filePath(QStringLiteral("seven.vcf"));
    QFile file(sevenBytes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1234567");
    file.close();
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath(QStringLiteral("z.vcf"))));
    ASSERT_TRUE(QFile::link(sevenBytes, dir.filePath(QStringLiteral("link.vcf"))));

    const struct {
        QString path;
        qint64 limit;
        InputFileError error;
        QByteArray bytes;
    } cases[] = {
        {sevenBytes, 7, InputFileError::None, "1234567"},
        {sevenBytes, 6, InputFileError::TooLarge, {}},
        {dir.filePath(QStringLiteral("link.vcf")), 7, InputFileError::None, "1234567"},
        {dir.filePath(QStringLiteral("missing.vcf")), 7, InputFileError::CannotOpen, {}},
        {QStringLiteral("/dev/zero"), 7, InputFileError::NotAFile, {}},
        {dir.filePath(QStringLiteral("z.vcf")), 7, InputFileError::NotAFile, {}},
        {dir.path(), 7, InputFileError::NotAFile, {}},
    };
    for (const auto& c : cases) {
        const InputFile read = readInputFile(c.path, c.limit);
        EXPECT_EQ(read.error, c.error) << c.path.toStdString() << " limit " << c.limit;
        EXPECT_EQ(read.bytes, c.bytes) << c.path.toStdString();
    }
}

} // namespace
