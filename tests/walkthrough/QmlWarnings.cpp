#include "QmlWarnings.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>

#include <cstdio>

namespace {

QtMessageHandler previous = nullptr;
bool installed = false;
QMutex mutex;
QStringList warnings;

bool fromQml(const QMessageLogContext& context, const QString& message) {
    const QLatin1String category(context.category ? context.category : "");
    const QLatin1String file(context.file ? context.file : "");
    return category.startsWith(QLatin1String("qt.qml")) || category.startsWith(QLatin1String("qt.quick")) ||
           category.startsWith(QLatin1String("qml")) || category == QLatin1String("js") ||
           file.endsWith(QLatin1String(".qml")) || message.contains(QLatin1String(".qml:")) ||
           message.startsWith(QLatin1String("DelegateModel")) || message.startsWith(QLatin1String("QQml")) ||
           message.startsWith(QLatin1String("QQuick"));
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg && fromQml(context, message)) {
        QMutexLocker locker(&mutex);
        warnings.append(message);
    }
    if (previous)
        previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void QmlWarnings::install() {
    if (!installed)
        previous = qInstallMessageHandler(handler);
    installed = true;
}

QStringList QmlWarnings::seen() {
    QMutexLocker locker(&mutex);
    return warnings;
}
