#include "exchange/core/text_line_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t CHUNK_BYTES = 64 * 1024;
constexpr char END_OF_INPUT = '\x1A';

} // namespace

TextLineReader::TextLineReader(QIODevice& device, std::size_t bufferSize)
    : device_(device), chunk_(CHUNK_BYTES), line_(std::max<std::size_t>(bufferSize, 2))
{
}

// Makes unread bytes available unless the input has ended.
bool TextLineReader::fill()
{
    if (chunkPos_ < chunkSize_)
        return true;
    if (ended_)
        return false;
    const qint64 got = device_.read(chunk_.data(), static_cast<qint64>(chunk_.size()));
    chunkPos_ = 0;
    chunkSize_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    if (got <= 0) {
        failed_ = got < 0;
        ended_ = true;
        return false;
    }
    // Nothing after a 0x1A is ever read, so the chunk simply ends there; one search per chunk
    // keeps the line loop free of it.
    if (const void* stop = std::memchr(chunk_.data(), END_OF_INPUT, chunkSize_)) {
        chunkSize_ = static_cast<std::size_t>(static_cast<const char*>(stop) - chunk_.data());
        ended_ = true;
    }
    // Likewise a line is looked at for a NUL byte only when its chunk holds one.
    chunkHoldsNul_ = std::memchr(chunk_.data(), '\0', chunkSize_) != nullptr;
    return chunkSize_ > 0;
}

TextLineReader::Status TextLineReader::readLine()
{
    char* line = line_.data();
    const std::size_t capacity = line_.size() - 1;
    std::size_t read = 0;
    bool mayHoldNul = false;
    while (read < capacity && fill()) {
        mayHoldNul = mayHoldNul || chunkHoldsNul_;
        const char* start = chunk_.data() + chunkPos_;
        const std::size_t take = std::min(chunkSize_ - chunkPos_, capacity - read);
        const char* lineEnd = static_cast<const char*>(std::memchr(start, '\n', take));
        const std::size_t count = lineEnd ? static_cast<std::size_t>(lineEnd - start) + 1 : take;
        std::memcpy(line + read, start, count);
        read += count;
        chunkPos_ += count;
        if (lineEnd) {
            // CR LF is one line end, even when the CR came with the chunk before.
            if (read >= 2 && line[read - 2] == '\r') {
                line[read - 2] = '\n';
                --read;
            }
            break;
        }
    }
    // A CR that filled the buffer still pairs with the LF after it.
    if (read == capacity && line[read - 1] == '\r' && fill() && chunk_[chunkPos_] == '\n') {
        line[read - 1] = '\n';
        ++chunkPos_;
    }
    line[read] = '\0';
    if (read == 0) {
        length_ = 0;
        return failed_ ? BAD_LINE : END_OF_FILE;
    }
    const void* nul = mayHoldNul ? std::memchr(line, '\0', read) : nullptr;
    length_ = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - line) : read;
    // Whatever did not end in a line end is only good as the last thing in the file, and only
    // when the file did end there rather than fail.
    const bool complete = length_ > 0 && line[length_ - 1] == '\n';
    if (!complete && (fill() || failed_))
        return BAD_LINE;
    return LINE;
}
