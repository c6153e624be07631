#pragma once

#include "platform/Timers.h"
#include "sync/BackgroundTaskManager.h"

#include <QList>

#include <memory>

// A collected fix, kept in single precision as the reports have always carried it.
struct FixRecord {
    float latitude = 0;
    float longitude = 0;
    float theAccuracy = 0;
};

// State shared by the tracker's callbacks: the pending restart of positioning, the background tasks
// and the fixes collected since the last report. The tracker owns the one instance.
struct LocationShareModel {
    explicit LocationShareModel(BackgroundTasks& tasks, Log* log) : bgTask(tasks, log) {}
    std::unique_ptr<Timer> timer; // the 60-second restart; pending while active
    BackgroundTaskManager bgTask;
    QList<FixRecord> myLocationArray;

    bool timerPending() const { return timer && timer->isActive(); }
};
