#include "exchange/core/csv_grid.h"
#include "exchange/core/text_line_reader.h"
#include "tests/exchange/failing_device.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every read of a device: "L:" + text for a line, "BAD" or "END".
std::vector<std::string> reads(QIODevice& device, std::size_t bufferSize)
{
    TextLineReader reader(device, bufferSize);
    std::vector<std::string> result;
    for (;;) {
        const TextLineReader::Status status = reader.readLine();
        if (status == TextLineReader::END_OF_FILE) {
            result.push_back("END");
            return result;
        }
        if (status == TextLineReader::BAD_LINE) {
            result.push_back("BAD");
            return result;
        }
        EXPECT_EQ(reader.length(), std::strlen(reader.text()));
        result.push_back("L:" + std::string(reader.text()));
    }
}

std::vector<std::string> reads(const QByteArray& file, std::size_t bufferSize = 400)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return reads(buffer, bufferSize);
}

using Reads = std::vector<std::string>;

TEST(TextLineReader, ReadsLikeATextModeStream)
{
    EXPECT_EQ(reads("a\r\nb\nc"), (Reads{"L:a\n", "L:b\n", "L:c", "END"}));
    EXPECT_EQ(reads("a\rb\r\r\nc\r"), (Reads{"L:a\rb\r\n", "L:c\r", "END"}));
    EXPECT_EQ(reads(""), (Reads{"END"}));
    EXPECT_EQ(reads("\n\n"), (Reads{"L:\n", "L:\n", "END"}));
}

TEST(TextLineReader, AByte1AEndsTheInput)
{
    EXPECT_EQ(reads("a\n\x1A"
                    "b\n"),
              (Reads{"L:a\n", "END"}));
    EXPECT_EQ(reads("ab\x1A"
                    "cd\nef\n"),
              (Reads{"L:ab", "END"}));
    EXPECT_EQ(reads("\x1A"
                    "a\n"),
              (Reads{"END"}));
    // A CR right before it stays a CR: no LF can follow.
    EXPECT_EQ(reads("a\r\x1A\n"), (Reads{"L:a\r", "END"}));
}

TEST(TextLineReader, ALineCutByANulIsOnlyGoodAsTheLastThingInTheFile)
{
    EXPECT_EQ(reads(QByteArray("a\0b\nc\n", 6)), (Reads{"BAD"}));
    EXPECT_EQ(reads(QByteArray("\0b\nc\n", 5)), (Reads{"BAD"}));
    EXPECT_EQ(reads(QByteArray("ok\n\0b", 5)), (Reads{"L:ok\n", "L:", "END"}));
    // The last line counts as the last whether or not its LF follows the NUL.
    EXPECT_EQ(reads(QByteArray("ok\na\0b\n", 7)), (Reads{"L:ok\n", "L:a", "END"}));
    EXPECT_EQ(reads(QByteArray("ok\na\0b\n\x1A", 8)), (Reads{"L:ok\n", "L:a", "END"}));
}

TEST(TextLineReader, ALineFitsWhenItAndItsLineEndTakeAtMost399Bytes)
{
    const QByteArray fits(398, 'x');
    const std::string text = fits.toStdString();
    EXPECT_EQ(reads(fits + "\n"), (Reads{"L:" + text + "\n", "END"}));
    EXPECT_EQ(reads(fits + "\r\n"), (Reads{"L:" + text + "\n", "END"}));
    EXPECT_EQ(reads(fits + "x\n"), (Reads{"BAD"}));
    EXPECT_EQ(reads(fits + "\r\r\n"), (Reads{"BAD"}));
    // Without a line end a last line is used as long as nothing of it is left unread.
    EXPECT_EQ(reads(fits), (Reads{"L:" + text, "END"}));
    EXPECT_EQ(reads(fits + "x"), (Reads{"L:" + text + "x", "END"}));
    EXPECT_EQ(reads(fits + "x\x1A"), (Reads{"L:" + text + "x", "END"}));
    EXPECT_EQ(reads(fits + "xy"), (Reads{"BAD"}));
}

TEST(TextLineReader, TakesLinesAsLongAsItsBuffer)
{
    const QByteArray longest(CSV_LINE_BYTES - 2, 'y');
    EXPECT_EQ(reads(longest + "\r\nz", CSV_LINE_BYTES),
              (Reads{"L:" + longest.toStdString() + "\n", "L:z", "END"}));
    EXPECT_EQ(reads(longest + "yy\nz\n", CSV_LINE_BYTES), (Reads{"BAD"}));
}

TEST(TextLineReader, CrLfSplitAcrossTheReadChunksIsStillOneLineEnd)
{
    for (int before : {65534, 65535, 65536}) {
        QByteArray file;
        while (file.size() + 10 < before)
            file += "012345678\n";
        file += QByteArray(before - file.size(), 'y') + "\r\nlast\n";
        const Reads result = reads(file);
        ASSERT_GE(result.size(), 3u);
        EXPECT_EQ(result[result.size() - 3].back(), '\n') << before;
        EXPECT_NE(result[result.size() - 3][result[result.size() - 3].size() - 2], '\r');
        EXPECT_EQ(result[result.size() - 2], "L:last\n");
    }
}

TEST(TextLineReader, AReadErrorIsABadLineNotTheEndOfTheFile)
{
    FailingDevice afterALine("a\nb\n");
    EXPECT_EQ(reads(afterALine, 400), (Reads{"L:a\n", "L:b\n", "BAD"}));
    FailingDevice midLine("a\nbc");
    EXPECT_EQ(reads(midLine, 400), (Reads{"L:a\n", "BAD"}));
}

} // namespace
