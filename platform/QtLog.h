#pragma once

#include "platform/Log.h"

#include <QFile>
#include <QMutex>

// Writes log lines to standard error and, when a path is given, appends them to a file.
class QtLog : public Log {
public:
    explicit QtLog(const QString& filePath = {});
    void write(const QString& line) override;

private:
    QMutex mutex_;
    QFile file_;
};
