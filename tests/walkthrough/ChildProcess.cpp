#include "ChildProcess.h"

#include <QDeadlineTimer>

ChildProcess::~ChildProcess() {
    stop();
}

QString ChildProcess::start(const QString& program, const QStringList& args, const QRegularExpression& ready,
                            int timeoutMs) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, args);
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = QStringLiteral("%1 did not start: %2").arg(program, process_.errorString());
        return {};
    }
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (process_.canReadLine() ||
            process_.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1)))) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine());
                output_ += line;
                if (const auto m = ready.match(line); m.hasMatch())
                    return m.captured(1);
            }
        }
        if (process_.state() != QProcess::Running) {
            output_ += QString::fromUtf8(process_.readAll());
            error_ = QStringLiteral("%1 exited: %2").arg(program, output_.trimmed());
            return {};
        }
    }
    error_ = QStringLiteral("%1 not ready in time: %2").arg(program, output_.trimmed());
    return {};
}

void ChildProcess::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    output_ += QString::fromUtf8(process_.readAll());
}
