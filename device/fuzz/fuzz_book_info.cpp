// The reply to "<1F>" for both directions.

#include "device/core/reply_parsers.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (OperationCode operation : {OP_DEVICE_READ, OP_DEVICE_WRITE}) {
        const BookInfo info = parseBookInfo(line, operation);
        if (info.model.back() != '\0' || (info.result != BOOK_SUPPORTED && info.model[0] != '\0'))
            __builtin_trap();
    }
    return 0;
}
