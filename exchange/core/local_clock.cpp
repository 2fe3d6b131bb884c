#include "exchange/core/local_clock.h"

namespace {

class SystemClock final : public LocalClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace

const LocalClock& systemClock()
{
    static const SystemClock clock;
    return clock;
}
