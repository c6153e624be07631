#pragma once

#include "platform/BackgroundTasks.h"

#include <set>

// A desktop process is never suspended, so tasks are only counted; they never expire.
class DesktopBackgroundTasks : public BackgroundTasks {
public:
    bool supported() const override { return true; }
    TaskId begin(std::function<void()> expirationHandler) override;
    void end(TaskId id) override { live_.erase(id); }

private:
    TaskId next_ = 1;
    std::set<TaskId> live_;
};
