#include "platform/QtProgress.h"

#include <QMetaObject>
#include <QThread>

#include <utility>

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
        onCancel_ = nullptr;
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
        onCancel_ = nullptr;
        Q_EMIT changed();
    });
}

void QtProgress::offerCancel(std::function<void()> onCancel) {
    onOwnThread([this, onCancel = std::move(onCancel)] {
        onCancel_ = onCancel;
        Q_EMIT changed();
    });
}

void QtProgress::cancel() {
    const std::function<void()> onCancel = std::exchange(onCancel_, nullptr);
    Q_EMIT changed();
    if (onCancel)
        onCancel();
}
