#pragma once

#include "platform/BackgroundTasks.h"

#include <QList>

class Log;

// Chains the platform's background tasks so the application stays alive in the background: the first
// task is kept as the master, and after each new task only the master and the newest stay open.
class BackgroundTaskManager {
public:
    using TaskId = BackgroundTasks::TaskId;
    BackgroundTaskManager(BackgroundTasks& tasks, Log* log) : tasks_(tasks), log_(log) {}

    TaskId beginNewBackgroundTask();
    void endBackgroundTasks() { drainBGTaskList(false); }
    void endAllBackgroundTasks() { drainBGTaskList(true); }
    void drainBGTaskList(bool all);

    TaskId masterTaskId() const { return masterTaskId_; }
    const QList<TaskId>& bgTaskIdList() const { return bgTaskIdList_; }

private:
    BackgroundTasks& tasks_;
    Log* log_;
    TaskId masterTaskId_ = BackgroundTasks::invalidTask;
    QList<TaskId> bgTaskIdList_;
};
