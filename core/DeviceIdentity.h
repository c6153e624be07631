#pragma once

#include <QString>

class Alerts;
class Files;
class ReferenceData;

// The phone's registration: its device code (in every compound number) and the build version.
class DeviceIdentity {
public:
    DeviceIdentity(ReferenceData& data, Alerts* alerts, const Files* files)
        : data_(data), alerts_(alerts), files_(files) {}

    // The registered device code; "000" when not registered (and the officer is told so).
    QString getCustomDeviceID();
    // "999" when the phone is registered, else "000" (with the same notice).
    QString getExistDeviceID();
    QString getVersionNumber() const;
    // Registration check without the notice.
    bool isRegistered();

private:
    void showNotRegistered();
    ReferenceData& data_;
    Alerts* alerts_;
    const Files* files_;
};
