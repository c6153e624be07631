#include "platform/DesktopBackgroundTasks.h"

BackgroundTasks::TaskId DesktopBackgroundTasks::begin(std::function<void()>) {
    live_.insert(next_);
    return next_++;
}
