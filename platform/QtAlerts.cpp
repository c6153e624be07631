#include "platform/QtAlerts.h"

void QtAlerts::show(Alert alert) {
    if (alert.buttons.isEmpty())
        alert.buttons << QStringLiteral("OK");
    queue_.enqueue(std::move(alert));
    Q_EMIT changed();
}

void QtAlerts::answer(int buttonIndex) {
    if (queue_.isEmpty())
        return;
    Alert alert = queue_.dequeue();
    Q_EMIT changed();
    // The callback may show the next alert; it runs after this one is gone.
    if (alert.onAnswer)
        alert.onAnswer(buttonIndex);
}
