#pragma once

#include "sync/SyncServices.h"

#include <QObject>

#include <optional>

// Device registration: asks the council for the device's last compound number, records the device and
// seeds the running number so this phone's numbers continue the device's sequence.
class DeviceRegistration : public QObject {
    Q_OBJECT
public:
    // A running number beyond this is not a device's sequence but a broken reply; seeding it would
    // also write a file of that many entries.
    static constexpr qint64 largestRunningNumber = 9999999;

    explicit DeviceRegistration(SyncServices services, QObject* parent = nullptr);

    // The device table and the running number change together, and only from a reply that carries a
    // last number; otherwise the officer is told it failed and the previous registration stays.
    Q_INVOKABLE void kemas_kini_device(const QString& deviceId);
    bool busy() const { return busy_; }

    // For a registered phone whose running number is no longer trusted (its file was found unreadable):
    // asks the council for the registered device's last number and takes it in as registration does,
    // never below the compounds held or the number already reached, leaving the device row as it is.
    // Does nothing when numbering is trusted or the phone is not registered. Quiet: the officer was told
    // at start-up, and a failure leaves numbering untrusted until the next try or a registration.
    void confirmRunningNumber();

Q_SIGNALS:
    void finished(bool succeeded);
    void runningNumberConfirmed(bool succeeded);

private:
    // The council's last number in a reply, when it carries a usable one.
    std::optional<QString> lastNumberOf(const QByteArray& body);
    void onReply(const QString& deviceId, const QByteArray& body);
    void fail(const QString& why);
    SyncServices s_;
    bool busy_ = false;
};
