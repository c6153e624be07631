#pragma once

#include "platform/Alerts.h"

#include <QObject>
#include <QQueue>

// Alerts for the QML window: one shown at a time, later ones wait their turn.
class QtAlerts : public QObject, public Alerts {
    Q_OBJECT
    Q_PROPERTY(bool visible READ visible NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)
    Q_PROPERTY(QStringList buttons READ buttons NOTIFY changed)
    Q_PROPERTY(int tag READ tag NOTIFY changed)
public:
    using QObject::QObject;
    void show(Alert alert) override;

    bool visible() const { return !queue_.isEmpty(); }
    QString title() const { return visible() ? queue_.head().title : QString(); }
    QString message() const { return visible() ? queue_.head().message : QString(); }
    QStringList buttons() const { return visible() ? queue_.head().buttons : QStringList(); }
    int tag() const { return visible() ? queue_.head().tag : 0; }
    int pending() const { return int(queue_.size()); }

    // The officer tapped a button of the alert on screen.
    Q_INVOKABLE void answer(int buttonIndex);

Q_SIGNALS:
    void changed();

private:
    QQueue<Alert> queue_;
};
