#include "exchange/core/text_line_reader.h"

#include <algorithm>
#include <cstring>

TextLineReader::TextLineReader(QIODevice& device, std::size_t bufferSize)
    : device_(device), bufferSize_(std::clamp<std::size_t>(bufferSize, 2, MAX_BUFFER)),
      chunk_(64 * 1024)
{
}

bool TextLineReader::fill()
{
    if (chunkPos_ < chunkSize_)
        return true;
    chunkSize_ =
        std::max<qint64>(device_.read(chunk_.data(), static_cast<qint64>(chunk_.size())), 0);
    chunkPos_ = 0;
    return chunkSize_ > 0;
}

int TextLineReader::nextByte()
{
    if (!fill()) {
        atEnd_ = true;
        return -1;
    }
    const char c = chunk_[chunkPos_++];
    if (c == '\r' && fill() && chunk_[chunkPos_] == '\n') {
        ++chunkPos_;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

TextLineReader::Status TextLineReader::readLine()
{
    std::size_t length = 0;
    while (length < bufferSize_ - 1) {
        const int c = nextByte();
        if (c < 0)
            break;
        line_[length++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    line_[length] = '\0';
    if (length == 0)
        return END_OF_FILE;
    // Whatever did not end in a line end is only good as the last line of the file.
    const std::size_t textLength = std::strlen(line_);
    if ((textLength == 0 || line_[textLength - 1] != '\n') && !atEnd_)
        return BAD_LINE;
    return LINE;
}
