// Bytes arriving in arbitrary pieces: lines never exceed the reply line, and the bytes handed
// out are exactly the bytes received minus the CR LF that ended each line (while nothing was
// overwritten or reset).

#include "device/core/rx_ring.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RxRing ring;
    std::size_t pos = 0;
    while (pos < size) {
        // The first byte of each piece says how long it is and whether the ring is reset.
        const std::uint8_t control = data[pos++];
        const std::size_t length = std::min<std::size_t>(control & 0x7F, size - pos);
        ring.append(QByteArrayView(reinterpret_cast<const char*>(data + pos),
                                   static_cast<qsizetype>(length)));
        pos += length;
        if (control & 0x80)
            ring.resetReceive();
        while (const std::optional<QByteArray> line = ring.takeLine())
            if (line->size() > static_cast<qsizetype>(REPLY_LINE_SIZE))
                __builtin_trap();
        if (ring.unread() > 1)
            __builtin_trap(); // only a trailing CR may wait
    }
    return 0;
}
