#include "device/core/reply_parsers.h"

#include "device/core/device_record.h"

#include <optional>

namespace {

constexpr int COUNT_DIGITS_LIMIT = 5;
constexpr int MODEL_CHARS_LIMIT = MODEL_NAME_SIZE - 1;

std::optional<int> countDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c == ' ')
        return 0;
    if (c == '#' || c == '*') // dial characters count with their codes
        return c;
    return std::nullopt;
}

// One number of the count field: at most five characters.
std::optional<int> countNumber(QByteArrayView digits)
{
    if (digits.size() > COUNT_DIGITS_LIMIT)
        return std::nullopt;
    int value = 0;
    for (char c : digits) {
        const std::optional<int> digit = countDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 10 + *digit;
    }
    return value;
}

// A reported name matches a table entry when it is a beginning of it.
bool modelMatches(QByteArrayView reported, const char* entry)
{
    for (qsizetype i = 0; i < reported.size(); ++i)
        if (entry[i] == '\0' || reported[i] != entry[i])
            return false;
    return true;
}

} // namespace

ReplyClass classifyReply(QByteArrayView line)
{
    if (line.startsWith("OK"))
        return REPLY_OK;
    if (line.startsWith("AT"))
        return REPLY_ECHO;
    if (line.startsWith("QVR"))
        return REPLY_MAKER;
    if (line.startsWith("ERROR"))
        return REPLY_ERROR;
    return line.isEmpty() ? REPLY_EMPTY : REPLY_OTHER;
}

ReplyClass classifyIdentity(QByteArrayView line)
{
    while (!line.isEmpty() && (line.front() == '\r' || line.front() == '\n'))
        line = line.sliced(1);
    if (line.startsWith("QVR"))
        return REPLY_MAKER;
    if (line.startsWith("AT"))
        return REPLY_ECHO;
    if (line.startsWith("OK"))
        return REPLY_OK;
    return line.isEmpty() ? REPLY_EMPTY : REPLY_OTHER;
}

bool isEntryAck(QByteArrayView line)
{
    return line.startsWith("<2h>");
}

LeaveReply classifyLeaveReply(QByteArrayView line)
{
    if (line.startsWith("OK"))
        return LeaveReply::Done;
    if (line.isEmpty() || isEntryAck(line))
        return LeaveReply::Ignore;
    return LeaveReply::Failed;
}

BookInfo parseBookInfo(QByteArrayView line, OperationCode operation)
{
    BookInfo info;
    if (line.isEmpty() || line[0] != '<')
        return info;
    if (line.size() >= 4 && line[2] == 'b' && line[3] == '>') {
        if (line[1] >= '0' && line[1] <= '3')
            info.result = static_cast<BookResult>(BOOK_DEVICE_ERROR_0 + (line[1] - '0'));
        return info;
    }
    if (line.size() < 5 || line[1] != '1' || line[2] != ':' || line[4] != ':')
        return info;

    QByteArrayView rest = line.sliced(5);
    const qsizetype countEnd = rest.indexOf(':');
    const QByteArrayView countField = countEnd < 0 ? rest : rest.first(countEnd);
    rest = countEnd < 0 ? QByteArrayView() : rest.sliced(countEnd + 1);
    const qsizetype slash = countField.indexOf('/');
    // The number after "/" is not used, so nothing in it can make the reply malformed.
    const QByteArrayView digits = slash < 0 ? countField : countField.first(slash);
    const std::optional<int> count = countNumber(digits);
    if (!count)
        return info;
    info.deviceCount = *count;
    info.countEmpty = digits.isEmpty();

    const qsizetype skippedEnd = rest.indexOf(':');
    rest = skippedEnd < 0 ? QByteArrayView() : rest.sliced(skippedEnd + 1);

    QByteArray name;
    while (!rest.isEmpty() && rest.front() != 'f') {
        if (rest.size() < 3)
            return info;
        name.append(static_cast<char>(tripletValue(rest[0], rest[1], rest[2])));
        rest = rest.sliced(3);
    }

    // The name is text: it ends at its first NUL (a handset pads it with "000" triplets).
    if (const qsizetype nul = name.indexOf('\0'); nul >= 0)
        name.truncate(nul);
    info.result = BOOK_UNSUPPORTED_MODEL;
    if (name.size() > MODEL_CHARS_LIMIT)
        return info;
    const bool write = operation == OP_DEVICE_WRITE;
    const auto search = [&](const auto& table) {
        for (const char* entry : table)
            if (modelMatches(name, entry))
                return true;
        return false;
    };
    if (write ? search(WRITABLE_MODELS) : search(READABLE_MODELS)) {
        info.result = BOOK_SUPPORTED;
        std::copy(name.begin(), name.end(), info.model.begin());
    }
    return info;
}
