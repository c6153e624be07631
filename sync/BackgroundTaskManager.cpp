#include "sync/BackgroundTaskManager.h"

#include "platform/Log.h"

#include <memory>

BackgroundTaskManager::TaskId BackgroundTaskManager::beginNewBackgroundTask() {
    if (!tasks_.supported())
        return BackgroundTasks::invalidTask;
    auto id = std::make_shared<TaskId>(BackgroundTasks::invalidTask);
    *id =
        tasks_.begin([log = log_, id] { log->write(QStringLiteral("background task %1 expired").arg(*id)); });
    if (masterTaskId_ == BackgroundTasks::invalidTask) {
        masterTaskId_ = *id;
        log_->write(QStringLiteral("started master task %1").arg(*id));
    } else {
        bgTaskIdList_.append(*id);
        log_->write(QStringLiteral("started background task %1").arg(*id));
        endBackgroundTasks();
    }
    return *id;
}

void BackgroundTaskManager::drainBGTaskList(bool all) {
    if (!tasks_.supported())
        return;
    const qsizetype keep = all ? 0 : 1;
    while (bgTaskIdList_.size() > keep) {
        const TaskId id = bgTaskIdList_.takeFirst();
        log_->write(QStringLiteral("ending background task with id -%1").arg(id));
        tasks_.end(id);
    }
    if (bgTaskIdList_.size() == 1)
        log_->write(QStringLiteral("kept background task id %1").arg(bgTaskIdList_.first()));
    if (all) {
        log_->write(QStringLiteral("no more background tasks running"));
        if (masterTaskId_ != BackgroundTasks::invalidTask)
            tasks_.end(masterTaskId_);
        masterTaskId_ = BackgroundTasks::invalidTask;
    } else {
        log_->write(QStringLiteral("kept master background task id %1").arg(masterTaskId_));
    }
}
