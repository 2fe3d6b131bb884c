#pragma once
// How the handset's reply lines are read: each classifier looks only at the first bytes of a
// line, so a line that merely begins with a pattern matches it.

#include "phonebook/core/operation_code.h"

#include <QByteArrayView>

#include <array>

enum ReplyClass { REPLY_OK, REPLY_ECHO, REPLY_MAKER, REPLY_ERROR, REPLY_EMPTY, REPLY_OTHER };

// "OK", "AT", "QVR", "ERROR", empty, anything else.
ReplyClass classifyReply(QByteArrayView line);
// The same after any leading CR and LF bytes, for the identity line; no REPLY_ERROR.
ReplyClass classifyIdentity(QByteArrayView line);
// The handset acknowledged a frame: "<2h>".
bool isEntryAck(QByteArrayView line);

enum class LeaveReply { Done, Ignore, Failed };
// "OK" ends data-transfer mode; "<2h>" and an empty line are late replies to pass over.
LeaveReply classifyLeaveReply(QByteArrayView line);

enum BookResult {
    BOOK_SUPPORTED = 0,
    BOOK_UNSUPPORTED_MODEL = 1,
    BOOK_DEVICE_ERROR_0 = 2, // "<0b>" ... "<3b>" give 2 ... 5
    BOOK_DEVICE_ERROR_3 = 5,
    BOOK_MALFORMED = 6,
};

constexpr int MODEL_NAME_SIZE = 10; // nine characters and the NUL

struct BookInfo {
    BookResult result = BOOK_MALFORMED;
    int deviceCount = 0;                       // entries the handset holds
    bool countEmpty = false;                   // the count field held no digit (taken as 0)
    std::array<char, MODEL_NAME_SIZE> model{}; // the name the handset reported, NUL-terminated
};

constexpr std::array<const char*, 3> WRITABLE_MODELS = {"VN650R", "VN07R", "604RN"};
constexpr std::array<const char*, 10> READABLE_MODELS = {
    "QM-R7104K", "QM-R7105K", "QM-R7106T", "VN540R",  "VN630R",
    "VN641R",    "VN650R",    "VN07R",     "KTM-418", "604RN"};

// The reply to "<1F>": count and model, looked up in the table of the operation (writable for
// OP_DEVICE_WRITE, readable otherwise). A count number of more than five characters, a character
// a count cannot hold and a model triplet cut short make the reply malformed.
BookInfo parseBookInfo(QByteArrayView line, OperationCode operation);
