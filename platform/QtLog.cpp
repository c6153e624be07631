#include "platform/QtLog.h"

#include <QDateTime>
#include <QMutexLocker>

#include <cstdio>

QtLog::QtLog(const QString& filePath) {
    if (!filePath.isEmpty()) {
        file_.setFileName(filePath);
        if (!file_.open(QIODevice::Append | QIODevice::Text))
            std::fprintf(stderr, "log file %s: %s\n", qPrintable(filePath), qPrintable(file_.errorString()));
    }
}

void QtLog::write(const QString& line) {
    const QByteArray text =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")).toUtf8() +
        line.toUtf8() + '\n';
    QMutexLocker lock(&mutex_);
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
    if (file_.isOpen()) {
        file_.write(text);
        file_.flush();
    }
}
