#include "platform/QtProgress.h"

#include <QMetaObject>
#include <QThread>

template <typename F> void QtProgress::onOwnThread(F&& f) {
    if (QThread::currentThread() == thread())
        f();
    else
        QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
}

void QtProgress::show(const QString& label) {
    onOwnThread([this, label] {
        visible_ = true;
        label_ = label;
        detail_.clear();
        Q_EMIT changed();
    });
}

void QtProgress::setDetail(const QString& detail) {
    onOwnThread([this, detail] {
        detail_ = detail;
        Q_EMIT changed();
    });
}

void QtProgress::hide() {
    onOwnThread([this] {
        visible_ = false;
        Q_EMIT changed();
    });
}
