#include "exchange/core/text_mode_file.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char END_OF_INPUT = '\x1A';

const char* firstOf(const char* begin, std::size_t length, char a, char b) {
    const void* hitA = std::memchr(begin, a, length);
    const void* hitB = std::memchr(begin, b, length);
    if (!hitA)
        return static_cast<const char*>(hitB);
    if (!hitB)
        return static_cast<const char*>(hitA);
    return std::min(static_cast<const char*>(hitA), static_cast<const char*>(hitB));
}

} // namespace

bool TextModeFile::open(const QString& path) {
    file_.setFileName(path);
    pos_ = length_ = 0;
    ended_ = failed_ = false;
    return file_.open(QIODevice::ReadOnly);
}

bool TextModeFile::available(std::size_t count) {
    while (length_ - pos_ < count) {
        if (ended_)
            return false;
        std::memmove(chunk_.data(), chunk_.data() + pos_, length_ - pos_);
        length_ -= pos_;
        pos_ = 0;
        const qint64 got =
            file_.read(chunk_.data() + length_, static_cast<qint64>(chunk_.size() - length_));
        if (got <= 0) {
            failed_ = got < 0;
            ended_ = true;
            return length_ >= count;
        }
        length_ += static_cast<std::size_t>(got);
    }
    return true;
}

bool TextModeFile::atEnd() {
    if (!available(1))
        return true;
    if (chunk_[pos_] == END_OF_INPUT) {
        ended_ = true;
        pos_ = length_;
        return true;
    }
    return false;
}

std::size_t TextModeFile::readLine(char* buffer, std::size_t size) {
    std::size_t stored = 0;
    while (stored + 1 < size && !atEnd()) {
        // Copy the plain run up to the next LF, CR or 0x1A in one go.
        const char* begin = chunk_.data() + pos_;
        const std::size_t span = std::min(length_ - pos_, size - 1 - stored);
        const char* lf = static_cast<const char*>(std::memchr(begin, '\n', span));
        const std::size_t runLength = lf ? static_cast<std::size_t>(lf - begin) + 1 : span;
        const char* special = firstOf(begin, runLength, '\r', END_OF_INPUT);
        const std::size_t plain = special ? static_cast<std::size_t>(special - begin) : runLength;
        std::memcpy(buffer + stored, begin, plain);
        stored += plain;
        pos_ += plain;
        if (!special) {
            if (lf)
                break;
            continue;
        }
        if (*special == END_OF_INPUT)
            continue; // atEnd() takes it
        if (available(2) && chunk_[pos_ + 1] == '\n') {
            buffer[stored++] = '\n';
            pos_ += 2;
            break;
        }
        buffer[stored++] = '\r';
        ++pos_;
    }
    buffer[stored] = '\0';
    return stored;
}
