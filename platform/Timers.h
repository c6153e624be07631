#pragma once

#include "platform/Clock.h"

#include <QDateTime>

#include <functional>
#include <memory>

// A timer on the UI thread; stops when destroyed.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void invalidate() = 0;
    virtual bool isActive() const = 0;
};

// Timers on the clock, injectable so that tests drive time instead of waiting for it.
class Timers : public Clock {
public:
    virtual std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> action) = 0;
};
