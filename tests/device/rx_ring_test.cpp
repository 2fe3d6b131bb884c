#include "device/core/rx_ring.h"

#include <gtest/gtest.h>

namespace {

TEST(RxRing, LineArrivingInPiecesIsHandedOutOnceItsCrLfHasArrived)
{
    RxRing ring;
    ring.append("O");
    EXPECT_FALSE(ring.takeLine());
    ring.append("K\r");
    EXPECT_FALSE(ring.takeLine()); // the CR alone does not end the line
    ring.append("\n");
    EXPECT_EQ(ring.takeLine(), QByteArray("OK"));
    EXPECT_FALSE(ring.takeLine());
}

TEST(RxRing, HandsOutOneLinePerCall)
{
    RxRing ring;
    ring.append("AT\r\nOK\r\n\r\n");
    EXPECT_EQ(ring.takeLine(), QByteArray("AT"));
    EXPECT_EQ(ring.takeLine(), QByteArray("OK"));
    EXPECT_EQ(ring.takeLine(), QByteArray(""));
    EXPECT_FALSE(ring.takeLine());
}

TEST(RxRing, OnlyCrLfEndsALine)
{
    RxRing ring;
    ring.append("\nQVR\rX\n\r\r\n");
    EXPECT_EQ(ring.takeLine(), QByteArray("\nQVR\rX\n\r"));
}

TEST(RxRing, ResetDropsUnreadBytesButKeepsThePartialLine)
{
    RxRing ring;
    ring.append("<2");
    EXPECT_FALSE(ring.takeLine());
    ring.append("h>\r\nOK\r\n");
    ring.resetReceive();
    EXPECT_FALSE(ring.takeLine());
    ring.append("x\r\n");
    EXPECT_EQ(ring.takeLine(), QByteArray("<2x"));
    ring.append("<2");
    EXPECT_FALSE(ring.takeLine());
    ring.dropReplyLine();
    ring.append("OK\r\n");
    EXPECT_EQ(ring.takeLine(), QByteArray("OK"));
}

TEST(RxRing, OverlongLineKeepsItsFirst4096BytesAndTheNextLineIsIntact)
{
    RxRing ring;
    const QByteArray chunk(3000, 'x');
    for (int i = 0; i < 4; ++i) {
        ring.append(chunk);
        EXPECT_FALSE(ring.takeLine());
    }
    ring.append("yy\r\nOK\r\n");
    const std::optional<QByteArray> line = ring.takeLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 4096);
    EXPECT_EQ(*line, QByteArray(4096, 'x'));
    EXPECT_EQ(ring.takeLine(), QByteArray("OK"));
}

TEST(RxRing, MoreThan4096UnreadBytesOverwriteTheOldest)
{
    RxRing ring;
    ring.append(QByteArray(4000, 'a'));
    ring.append(QByteArray(200, 'b') + "\r\n");
    EXPECT_EQ(ring.unread(), RX_RING_SIZE);
    const std::optional<QByteArray> line = ring.takeLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 4094);
    EXPECT_TRUE(line->endsWith(QByteArray(200, 'b')));
}

} // namespace
