#include "sync/OfficerLogin.h"

#include "core/AppDelegate.h"
#include "platform/Alerts.h"
#include "platform/Log.h"

namespace {
void notify(AppDelegate& app, const QString& message) {
    if (app.platform().alerts)
        app.platform().alerts->show({QStringLiteral("Notifikasi"), message, {QStringLiteral("OK")}, 0, {}});
}
} // namespace

bool OfficerLogin::logIn(const QString& staffCode, const QString& password) {
    Log* log = app_.platform().log;
    log->write(QStringLiteral("SEMAK DEVICE DAFTAR ATAU TIDAK : %1 %2")
                   .arg(staffCode, QString(password.size(), QLatin1Char('*'))));
    if (!app_.lookups().deviceTableExists()) {
        notify(app_, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
        return false;
    }
    const std::optional<RecordMap> found = app_.lookups().signIn(staffCode, password);
    if (!found) {
        notify(app_, QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi"));
        return false;
    }
    const RecordMap& officer = *found;
    app_.setUserGlobalID(officer);
    log->write(
        QStringLiteral("Officer : %1 (%2)")
            .arg(officer.value(QStringLiteral("peng_nama")), officer.value(QStringLiteral("kod_pekerja"))));
    return true;
}
