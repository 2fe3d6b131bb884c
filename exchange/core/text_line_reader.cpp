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

TextLineReader::Status TextLineReader::readLine()
{
    const std::size_t capacity = bufferSize_ - 1;
    std::size_t length = 0;
    while (length < capacity) {
        if (!fill()) {
            atEnd_ = true;
            break;
        }
        const char* start = chunk_.data() + chunkPos_;
        const std::size_t take =
            std::min(static_cast<std::size_t>(chunkSize_ - chunkPos_), capacity - length);
        const char* lineEnd = static_cast<const char*>(std::memchr(start, '\n', take));
        const std::size_t count = lineEnd ? static_cast<std::size_t>(lineEnd - start) + 1 : take;
        std::memcpy(line_ + length, start, count);
        length += count;
        chunkPos_ += static_cast<qint64>(count);
        if (lineEnd) {
            // CR LF is one line end, even when the CR came with the chunk before.
            if (length >= 2 && line_[length - 2] == '\r') {
                line_[length - 2] = '\n';
                --length;
            }
            break;
        }
    }
    // A CR that filled the buffer still pairs with the LF after it.
    if (length == capacity && line_[length - 1] == '\r' && fill() &&
        chunk_[static_cast<std::size_t>(chunkPos_)] == '\n') {
        line_[length - 1] = '\n';
        ++chunkPos_;
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
