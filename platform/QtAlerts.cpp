#include "platform/QtAlerts.h"

#include "platform/Timers.h"

QtAlerts::QtAlerts(Timers* timers, QObject* parent) : QObject(parent), timers_(timers) {}

QtAlerts::~QtAlerts() = default;

void QtAlerts::arrived() {
    if (!timers_)
        return;
    accepting_ = false;
    settle_ = timers_->start(settleMs, false, [this] {
        accepting_ = true;
        Q_EMIT changed();
    });
}

void QtAlerts::show(Alert alert) {
    if (alert.buttons.isEmpty())
        alert.buttons << QStringLiteral("OK");
    queue_.enqueue(std::move(alert));
    if (queue_.size() == 1)
        arrived();
    Q_EMIT changed();
}

void QtAlerts::answer(int buttonIndex) {
    if (queue_.isEmpty() || !accepting_)
        return;
    Alert alert = queue_.dequeue();
    if (!queue_.isEmpty())
        arrived();
    Q_EMIT changed();
    // The callback may show the next alert; it runs after this one is gone.
    if (alert.onAnswer)
        alert.onAnswer(buttonIndex);
}
