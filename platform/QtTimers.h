#pragma once

#include "platform/Timers.h"

// Timers over QTimer, on the thread that starts them (the UI thread).
class QtTimers : public Timers {
public:
    std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> action) override;
};
