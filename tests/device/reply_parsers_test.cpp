#include "device/core/reply_parsers.h"

#include <gtest/gtest.h>

namespace {

TEST(ClassifyReply, LooksOnlyAtTheBeginningOfTheLine)
{
    const std::pair<const char*, ReplyClass> cases[] = {
        {"OK", REPLY_OK},       {"OKAY", REPLY_OK},       {"AT", REPLY_ECHO},
        {"ATI3", REPLY_ECHO},   {"QVR 650", REPLY_MAKER}, {"ERROR", REPLY_ERROR},
        {"ERR", REPLY_OTHER},   {"A", REPLY_OTHER},       {"", REPLY_EMPTY},
        {"\r\nOK", REPLY_OTHER}};
    for (auto [line, expected] : cases)
        EXPECT_EQ(classifyReply(line), expected) << line;
}

TEST(ClassifyIdentity, SkipsLeadingLineBreaks)
{
    const std::pair<const char*, ReplyClass> cases[] = {
        {"QVR", REPLY_MAKER},   {"\r\n\nQVR-1", REPLY_MAKER}, {"\rATI3", REPLY_ECHO},
        {"\nOK", REPLY_OK},     {"\r\n", REPLY_EMPTY},        {"", REPLY_EMPTY},
        {"ERROR", REPLY_OTHER}, {"QV", REPLY_OTHER}};
    for (auto [line, expected] : cases)
        EXPECT_EQ(classifyIdentity(line), expected) << line;
}

TEST(ClassifyLeaveReply, OkEndsAcknowledgementsAndEmptyLinesArePassedOver)
{
    EXPECT_EQ(classifyLeaveReply("OK"), LeaveReply::Done);
    EXPECT_EQ(classifyLeaveReply("<2h>"), LeaveReply::Ignore);
    EXPECT_EQ(classifyLeaveReply(""), LeaveReply::Ignore);
    EXPECT_EQ(classifyLeaveReply("+++"), LeaveReply::Failed);
    EXPECT_TRUE(isEntryAck("<2h>rest"));
    EXPECT_FALSE(isEntryAck("<2h"));
}

struct BookCase {
    const char* line;
    OperationCode operation;
    BookResult result;
    int count;
    const char* model;
};

// "VN650R" = 086 078 054 053 048 082, "VN540R" = 086 078 053 052 048 082.
TEST(ParseBookInfo, Table)
{
    const BookCase cases[] = {
        {"<1:1:20/1000:00:086078054053048082f>", OP_DEVICE_WRITE, BOOK_SUPPORTED, 20, "VN650R"},
        {"<1:x:3:skip:086078054053048082", OP_DEVICE_READ, BOOK_SUPPORTED, 3, "VN650R"},
        {"<1:1:20:00:086078053052048082f", OP_DEVICE_WRITE, BOOK_UNSUPPORTED_MODEL, 20, ""},
        {"<1:1:20:00:086078053052048082f", OP_DEVICE_READ, BOOK_SUPPORTED, 20, "VN540R"},
        // A beginning of a table entry matches it; an empty name matches the first entry.
        {"<1:1:1:0:086078048f", OP_DEVICE_WRITE, BOOK_SUPPORTED, 1, "VN0"},
        {"<1:1:1:0:f", OP_DEVICE_WRITE, BOOK_SUPPORTED, 1, ""},
        {"<1:1:1", OP_DEVICE_READ, BOOK_SUPPORTED, 1, ""},
        // Ten characters are too many for any model.
        {"<1:1:1:0:086078054053048082048048048048f", OP_DEVICE_WRITE, BOOK_UNSUPPORTED_MODEL, 1,
         ""},
        {"<1:1:1:0:086078054053048082088f", OP_DEVICE_WRITE, BOOK_UNSUPPORTED_MODEL, 1, ""},
        // A name padded with NUL characters ends at the first of them.
        {"<1:1:5:0:086078054053048082000000000f", OP_DEVICE_WRITE, BOOK_SUPPORTED, 5, "VN650R"},
        {"<1:1:5:0:086078048055082000000f", OP_DEVICE_READ, BOOK_SUPPORTED, 5, "VN07R"},
        {"<1:1:5:0:086078053052048082000f", OP_DEVICE_WRITE, BOOK_UNSUPPORTED_MODEL, 5, ""},
        // Count digits: hex letters, spaces as 0, '#' and '*' by their codes, empty as 0.
        {"<1:1:1A:0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 20, ""},
        {"<1:1: 1 :0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 10, ""},
        {"<1:1:#:0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 35, ""},
        {"<1:1:/99999:0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 0, ""},
        {"<1:1:99999:0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 99999, ""},
        {"<1:1:100000:0:f", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        // The second count is not used: whatever it holds, the reply stands.
        {"<1:1:1/100000:0:f", OP_DEVICE_READ, BOOK_SUPPORTED, 1, ""},
        {"<1:1:7/-?:0:086078054053048082f", OP_DEVICE_WRITE, BOOK_SUPPORTED, 7, "VN650R"},
        {"<1:1:1x:0:f", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"<1:1:1:0:08607", OP_DEVICE_READ, BOOK_MALFORMED, 1, ""},
        // Device errors and malformed replies.
        {"<0b>", OP_DEVICE_WRITE, BOOK_DEVICE_ERROR_0, 0, ""},
        {"<2b>", OP_DEVICE_READ, static_cast<BookResult>(4), 0, ""},
        {"<3b>", OP_DEVICE_READ, BOOK_DEVICE_ERROR_3, 0, ""},
        {"<4b>", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"1:1:1:0:f", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"<2:1:1:0:f", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"<1;1:1:0:f", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
        {"<1:1", OP_DEVICE_READ, BOOK_MALFORMED, 0, ""},
    };
    for (const BookCase& c : cases) {
        const BookInfo info = parseBookInfo(c.line, c.operation);
        EXPECT_EQ(info.result, c.result) << c.line;
        EXPECT_EQ(info.deviceCount, c.count) << c.line;
        EXPECT_STREQ(info.model.data(), c.model) << c.line;
    }
}

} // namespace
