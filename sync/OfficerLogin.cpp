#include "sync/OfficerLogin.h"

#include "core/AppDelegate.h"
#include "core/OfficerPassword.h"
#include "platform/Alerts.h"
#include "platform/Log.h"
#include "platform/Progress.h"

namespace {
void notify(AppDelegate& app, const QString& message) {
    if (app.platform().alerts)
        app.platform().alerts->show({QStringLiteral("Notifikasi"), message, {QStringLiteral("OK")}, 0, {}});
}
} // namespace

OfficerLogin::OfficerLogin(AppDelegate& app, QObject* parent) : QObject(parent), app_(app) {
    worker_.setMaxThreadCount(1);
}

OfficerLogin::~OfficerLogin() {
    worker_.waitForDone();
}

void OfficerLogin::logIn(const QString& staffCode, const QString& password) {
    if (busy_)
        return; // the overlay is up; a second tap would only race the first
    Log* log = app_.platform().log;
    log->write(QStringLiteral("SEMAK DEVICE DAFTAR ATAU TIDAK : %1 %2")
                   .arg(staffCode, QString(password.size(), QLatin1Char('*'))));
    if (!app_.lookups().deviceTableExists()) {
        notify(app_, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));
        Q_EMIT finished(false);
        return;
    }
    setBusy(true);
    app_.platform().progress->show(QStringLiteral("Log Masuk"));
    const DbRows rows = app_.lookups().officerRows(staffCode);
    worker_.start([this, rows, staffCode, password] {
        ReferenceData::SignInJudgement judged = ReferenceData::judgeSignIn(rows, password);
        QMetaObject::invokeMethod(
            this, [this, staffCode, password, judged] { answer(staffCode, password, judged); },
            Qt::QueuedConnection);
    });
}

void OfficerLogin::answer(const QString& staffCode, const QString& password,
                          ReferenceData::SignInJudgement j) {
    app_.platform().progress->hide();
    setBusy(false);
    if (j.noMemory) {
        app_.platform().log->write(QStringLiteral("Sign-in: the digest's memory could not be had"));
        notify(app_, QStringLiteral("Memori telefon tidak mencukupi untuk menyemak kata laluan. Sila tutup "
                                    "aplikasi lain dan cuba sekali lagi."));
        Q_EMIT finished(false);
        return;
    }
    if (!j.officer) {
        notify(app_, QStringLiteral("ID pengguna atau password tidak betul. Sila cuba sekali lagi"));
        Q_EMIT finished(false);
        return;
    }
    RecordMap& officer = *j.officer;
    app_.setUserGlobalID(officer);
    app_.platform().log->write(
        QStringLiteral("Officer : %1 (%2)")
            .arg(officer.value(QStringLiteral("peng_nama")), officer.value(QStringLiteral("kod_pekerja"))));
    Q_EMIT finished(true);
    if (j.renew)
        renew(staffCode, password, j.stored, officer);
}

void OfficerLogin::renew(const QString& staffCode, const QString& password, const QString& stored,
                         const RecordMap& officer) {
    // After the answer: the officer is at work while the new digest is made. The row is written only
    // where it still holds the digest the password was checked against.
    worker_.start([this, staffCode, password, stored, officer] {
        const QString current = OfficerPassword::digest(password);
        QMetaObject::invokeMethod(
            this,
            [this, staffCode, stored, current, officer] {
                RecordMap written = officer;
                app_.lookups().renewDigest(staffCode, stored, current, written);
                Q_EMIT digestRenewed();
            },
            Qt::QueuedConnection);
    });
}

void OfficerLogin::setBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    Q_EMIT busyChanged();
}
