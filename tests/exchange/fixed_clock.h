#pragma once
// 09:30:00 on 15 January 2024, whenever asked.

#include "exchange/core/local_clock.h"

class FixedClock final : public LocalClock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 1, 15), QTime(9, 30, 0)); }
};
