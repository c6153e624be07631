#pragma once

#include "platform/Progress.h"

#include <QObject>

// The progress overlay for the QML window. Callable from any thread: changes are forwarded to the
// thread this object lives on.
class QtProgress : public QObject, public Progress {
    Q_OBJECT
    Q_PROPERTY(bool visible READ visible NOTIFY changed)
    Q_PROPERTY(QString label READ label NOTIFY changed)
    Q_PROPERTY(QString detail READ detail NOTIFY changed)
    Q_PROPERTY(bool cancellable READ cancellable NOTIFY changed)
public:
    using QObject::QObject;
    void show(const QString& label) override;
    void setDetail(const QString& detail) override;
    void hide() override;
    void offerCancel(std::function<void()> onCancel) override;
    // The overlay's "Batal".
    Q_INVOKABLE void cancel();

    bool visible() const { return visible_; }
    QString label() const { return label_; }
    QString detail() const { return detail_; }
    bool cancellable() const { return bool(onCancel_); }

Q_SIGNALS:
    void changed();

private:
    template <typename F> void onOwnThread(F&& f);
    bool visible_ = false;
    QString label_;
    QString detail_;
    std::function<void()> onCancel_;
};
