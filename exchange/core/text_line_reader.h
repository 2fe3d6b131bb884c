#pragma once
// Reads a file line by line the way the C runtime reads a file opened in text mode on the
// program's home platform, on every platform alike: CR LF arrives as LF (a lone CR stays), a
// byte 0x1A ends the input, a read stops after the LF or when the line buffer is full, and the
// text of a line ends at its first NUL byte.

#include <QIODevice>

#include <cstddef>
#include <vector>

class TextLineReader {
public:
    enum Status {
        LINE,        // text() holds the line, its LF included when it had one
        END_OF_FILE, // nothing was left to read
        BAD_LINE,    // too long for the buffer, empty, or cut by a NUL byte, while more of the
                     // file follows; or the device failed part-way
    };

    // A line takes at most bufferSize - 1 bytes with its LF (bufferSize is at least 2).
    TextLineReader(QIODevice& device, std::size_t bufferSize);

    Status readLine();
    // The line last read, NUL-terminated; the caller may cut it up in place.
    char* text() { return line_.data(); }
    // Its bytes up to the first NUL.
    std::size_t length() const { return length_; }

private:
    bool fill();

    QIODevice& device_;
    std::vector<char> chunk_;
    std::size_t chunkSize_ = 0;
    std::size_t chunkPos_ = 0;
    bool ended_ = false;  // the device gave out, or a 0x1A was reached
    bool failed_ = false; // the device reported a read error
    bool chunkHoldsNul_ = false;
    std::vector<char> line_;
    std::size_t length_ = 0;
};
