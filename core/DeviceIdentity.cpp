#include "core/DeviceIdentity.h"

#include "core/ReferenceData.h"
#include "platform/Alerts.h"
#include "platform/Files.h"

void DeviceIdentity::showNotRegistered() {
    if (alerts_)
        alerts_->show({QStringLiteral("Notifikasi"),
                       QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."),
                       {QStringLiteral("OK")},
                       0,
                       {}});
}

bool DeviceIdentity::isRegistered() {
    return data_.deviceTableExists();
}

QString DeviceIdentity::getCustomDeviceID() {
    if (!data_.deviceTableExists()) {
        showNotRegistered();
        return QStringLiteral("000");
    }
    const DbRows rows = data_.deviceRow();
    if (rows.isEmpty())
        return QStringLiteral("000");
    return SQLiteManager::text(rows.first().value(QStringLiteral("device_id")));
}

QString DeviceIdentity::getExistDeviceID() {
    if (!data_.deviceTableExists()) {
        showNotRegistered();
        return QStringLiteral("000");
    }
    return QStringLiteral("999");
}

QString DeviceIdentity::getVersionNumber() const {
    return files_ ? files_->buildVersion() : QString();
}
