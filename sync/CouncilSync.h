#pragma once

#include "sync/DeviceRegistration.h"
#include "sync/OfficerUpdate.h"
#include "sync/UploadRun.h"

#include <QObject>

class UrlOpener;

// What the login screen and the printed list ask of the council's web service, in one object.
class CouncilSync : public QObject {
    Q_OBJECT
public:
    CouncilSync(SyncServices services, UrlOpener* urlOpener, QObject* parent = nullptr);

    // "Update officers" (`kemaskiniPenggunaAction:`).
    Q_INVOKABLE void kemas_kini_penguat_kuasa() { officers_.kemas_kini_penguat_kuasa(); }
    // "Register device" (`kemaskiniDeviceAction:`).
    Q_INVOKABLE void kemas_kini_device(const QString& deviceId) { registration_.kemas_kini_device(deviceId); }
    // "Update application" (`kemaskiniApplikasiAction:`): the install page in the system browser.
    Q_INVOKABLE bool kemaskiniApplikasi();
    // The printed list's "MuatNaik" after its confirmation.
    Q_INVOKABLE void muatNaik() { upload_.muatNaik(); }

    OfficerUpdate& officerUpdate() { return officers_; }
    DeviceRegistration& deviceRegistration() { return registration_; }
    UploadRun& uploadRun() { return upload_; }
    const CouncilEndpoints& endpoints() const { return services_.endpoints; }

private:
    SyncServices services_;
    UrlOpener* urlOpener_;
    OfficerUpdate officers_;
    DeviceRegistration registration_;
    UploadRun upload_;
};
