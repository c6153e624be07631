#pragma once

#include <QDateTime>

// The one source of the current instant, injectable so tests can stand on any instant. Timers (the
// timers that run on it) extend it, so a test that drives time moves the clock and the timers together.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTimeUtc(); }
};
