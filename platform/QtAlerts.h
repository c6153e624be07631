#pragma once

#include "platform/Alerts.h"

#include <QObject>
#include <QQueue>

#include <memory>

class Timer;
class Timers;

// Alerts for the QML window: one shown at a time, later ones wait their turn. A dialog that has just
// come takes no answer for its first moments: the second tap of a finger that meant one lands on
// whatever replaced the button it tapped, and must not answer that.
class QtAlerts : public QObject, public Alerts {
    Q_OBJECT
    Q_PROPERTY(bool visible READ visible NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString message READ message NOTIFY changed)
    Q_PROPERTY(QStringList buttons READ buttons NOTIFY changed)
    Q_PROPERTY(int tag READ tag NOTIFY changed)
    Q_PROPERTY(bool accepting READ accepting NOTIFY changed)
public:
    static constexpr int settleMs = 400;

    // Without timers every dialog answers at once.
    explicit QtAlerts(Timers* timers = nullptr, QObject* parent = nullptr);
    ~QtAlerts() override;
    void show(Alert alert) override;

    bool visible() const { return !queue_.isEmpty(); }
    QString title() const { return visible() ? queue_.head().title : QString(); }
    QString message() const { return visible() ? queue_.head().message : QString(); }
    QStringList buttons() const { return visible() ? queue_.head().buttons : QStringList(); }
    int tag() const { return visible() ? queue_.head().tag : 0; }
    int pending() const { return int(queue_.size()); }
    // The dialog on screen takes a tap: it has been there long enough.
    bool accepting() const { return visible() && accepting_; }

    // The officer tapped a button of the alert on screen; ignored while the dialog is new.
    Q_INVOKABLE void answer(int buttonIndex);

Q_SIGNALS:
    void changed();

private:
    // The alert at the head has just come to show.
    void arrived();

    Timers* timers_;
    std::unique_ptr<Timer> settle_;
    bool accepting_ = true;
    QQueue<Alert> queue_;
};
