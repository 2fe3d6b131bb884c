#pragma once
// The local time as the file tasks read it (the revision line of a save, the reading given to
// an imported card that has none). Tests fix it.

#include <QDateTime>

class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual QDateTime now() const = 0;
};

// The system's local time.
const LocalClock& systemClock();
