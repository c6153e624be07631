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
    if (log)
        log->write(QStringLiteral("SEMAK DEVICE DAFTAR ATAU TIDAK : %1 %2")
                       .arg(staffCode, QString(password.size(), QLatin1Char('*'))));
    if (!app_.lookups().deviceTableExists()) {
        notify(app_, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
        return false;
    }
    const DbRows rows = app_.dbManager().getRowsForQuery(
        QStringLiteral("select peng_nama, peng_katalaluan, peng_ic, kod_pekerja, status from gc_penguatkuasa "
                       "where status = 'A' AND kod_pekerja=? AND peng_katalaluan=?"),
        {staffCode, password});
    if (rows.isEmpty()) {
        notify(app_, QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi"));
        return false;
    }
    RecordMap officer;
    for (auto it = rows.first().cbegin(); it != rows.first().cend(); ++it)
        officer.insert(it.key(), SQLiteManager::text(it.value()));
    app_.setUserGlobalID(officer);
    if (log)
        log->write(QStringLiteral("Officer : %1 (%2)")
                       .arg(officer.value(QStringLiteral("peng_nama")),
                            officer.value(QStringLiteral("kod_pekerja"))));
    return true;
}
