#pragma once
// A save target in memory that fails the write which would take it past a byte limit, or the
// final commit, with a chosen system error number.

#include "exchange/core/save_sink.h"

#include <limits>

class FaultSink final : public SaveSink {
public:
    bool open() override
    {
        opened = !failOpen;
        return opened;
    }
    bool write(QByteArrayView bytes) override
    {
        ++writes;
        if (written.size() + bytes.size() > failAfterBytes) {
            written += bytes.first(failAfterBytes - written.size());
            return false;
        }
        written += bytes;
        return true;
    }
    bool commit() override
    {
        if (failCommit)
            return false;
        committed = true;
        return true;
    }
    void discard() override { discarded = true; }
    int lastError() const override { return errorNumber; }

    bool failOpen = false;
    qsizetype failAfterBytes = std::numeric_limits<qsizetype>::max();
    bool failCommit = false;
    int errorNumber = 0;

    bool opened = false;
    bool committed = false;
    bool discarded = false;
    QByteArray written;
    int writes = 0;
};
