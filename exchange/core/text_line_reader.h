#pragma once
// Reads a file line by line the way a C text-mode stream reads it into a fixed buffer: CR LF
// arrives as LF (a lone CR stays), a read stops after the LF, when the buffer is full or at the
// end of the file, and the text of a line ends at its first NUL byte.

#include <QIODevice>

#include <cstddef>
#include <vector>

class TextLineReader {
  public:
    enum Status {
        LINE,        // text() holds the line, its LF included when it had one
        END_OF_FILE, // nothing was left to read
        BAD_LINE,    // too long for the buffer, empty, or cut by a NUL byte, before the end
    };

    // Reads at most bufferSize - 1 bytes per line; bufferSize is at most MAX_BUFFER.
    TextLineReader(QIODevice& device, std::size_t bufferSize);

    Status readLine();
    // The line last read, NUL-terminated.
    const char* text() const { return line_; }

    static constexpr std::size_t MAX_BUFFER = 1024;

  private:
    bool fill();

    QIODevice& device_;
    std::size_t bufferSize_;
    bool atEnd_ = false;
    std::vector<char> chunk_;
    qint64 chunkSize_ = 0;
    qint64 chunkPos_ = 0;
    char line_[MAX_BUFFER] = {};
};
