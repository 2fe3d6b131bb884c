#pragma once
// Reading a file line by line the way a C runtime reads a file opened in text mode on the
// program's home platform, on every platform alike: CR LF arrives as LF (a lone CR stays), and a
// byte 0x1A ends the input.

#include <QFile>

#include <array>
#include <cstddef>

class TextModeFile {
  public:
    bool open(const QString& path);

    // Reads the next line into buffer (size bytes, size >= 2): up to and including its LF, at
    // most size-1 bytes, then a NUL. The rest of a longer line is left for the next call.
    // Returns the number of bytes stored; 0 when nothing is left to read.
    std::size_t readLine(char* buffer, std::size_t size);

    // Nothing is left to read: the bytes ran out, a byte 0x1A was reached, or reading failed.
    bool atEnd();
    // Reading the file failed part-way (as opposed to the file simply ending).
    bool failed() const { return failed_; }

  private:
    // Makes at least count bytes available from pos_ unless the input ends first.
    bool available(std::size_t count);

    QFile file_;
    std::array<char, 64 * 1024> chunk_{};
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};
