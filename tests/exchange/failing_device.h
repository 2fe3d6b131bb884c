#pragma once
// A device that hands out its bytes and then reports a read error, as a file on a failing disk
// or a share that went away does.

#include <QIODevice>

#include <algorithm>
#include <cstring>

class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(QByteArray bytes) : bytes_(std::move(bytes))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (bytes_.isEmpty())
            return -1;
        const qint64 count = std::min<qint64>(maxSize, bytes_.size());
        std::memcpy(data, bytes_.constData(), static_cast<std::size_t>(count));
        bytes_.remove(0, count);
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
};
