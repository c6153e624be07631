#pragma once

#include <functional>

// The platform's background execution: a task keeps the application running while it is open.
class BackgroundTasks {
public:
    using TaskId = unsigned long;
    static constexpr TaskId invalidTask = 0;

    virtual ~BackgroundTasks() = default;
    virtual bool supported() const = 0;
    // Returns the new task's id, or invalidTask when the platform refuses.
    virtual TaskId begin(std::function<void()> expirationHandler) = 0;
    virtual void end(TaskId id) = 0;
};
