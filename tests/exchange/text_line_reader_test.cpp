#include "exchange/core/text_line_reader.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every read of a file: "L:" + text for a line, "BAD" or "END".
std::vector<std::string> reads(const QByteArray& file, std::size_t bufferSize = 400)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    TextLineReader reader(buffer, bufferSize);
    std::vector<std::string> result;
    for (;;) {
        const TextLineReader::Status status = reader.readLine();
        if (status == TextLineReader::END_OF_FILE) {
            result.push_back("END");
            return result;
        }
        result.push_back(status == TextLineReader::BAD_LINE ? "BAD"
                                                            : "L:" + std::string(reader.text()));
        if (status == TextLineReader::BAD_LINE)
            return result;
    }
}

using Reads = std::vector<std::string>;

TEST(TextLineReader, ReadsLikeATextModeStream)
{
    EXPECT_EQ(reads("a\r\nb\nc"), (Reads{"L:a\n", "L:b\n", "L:c", "END"}));
    EXPECT_EQ(reads("a\rb\r\r\nc\r"), (Reads{"L:a\rb\r\n", "L:c\r", "END"}));
    EXPECT_EQ(reads(""), (Reads{"END"}));
    EXPECT_EQ(reads("\n\n"), (Reads{"L:\n", "L:\n", "END"}));
    EXPECT_EQ(reads(QByteArray("a\0b\nc\n", 6)), (Reads{"BAD"}));
    EXPECT_EQ(reads(QByteArray("ok\n\0b", 5)), (Reads{"L:ok\n", "L:", "END"})); // last line
}

TEST(TextLineReader, ALineFitsWhenItAndItsLineEndTakeAtMost399Bytes)
{
    const QByteArray fits(398, 'x');
    EXPECT_EQ(reads(fits + "\n"), (Reads{"L:" + fits.toStdString() + "\n", "END"}));
    EXPECT_EQ(reads(fits + "\r\n"), (Reads{"L:" + fits.toStdString() + "\n", "END"}));
    EXPECT_EQ(reads(fits + "x\n"), (Reads{"BAD"}));
    EXPECT_EQ(reads(fits + "\r\r\n"), (Reads{"BAD"}));
    // Without a line end a last line of 398 bytes is used, one of 399 is not.
    EXPECT_EQ(reads(fits), (Reads{"L:" + fits.toStdString(), "END"}));
    EXPECT_EQ(reads(fits + "x"), (Reads{"BAD"}));
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

} // namespace
