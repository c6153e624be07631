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

struct OfficerLogin::Judged {
    ReferenceData::SignInJudgement judgement;
    // The current digest of the typed password, made on the worker when the stored one is renewed.
    QString renewed;
};

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
        Judged judged{ReferenceData::judgeSignIn(rows, password), {}};
        // The renewal's digest too, while the overlay is still up: a sign-in is then one wait, and the
        // interface thread only writes the row.
        if (judged.judgement.officer && judged.judgement.renew)
            judged.renewed = OfficerPassword::digest(password);
        QMetaObject::invokeMethod(
            this, [this, staffCode, judged] { answer(staffCode, judged); }, Qt::QueuedConnection);
    });
}

void OfficerLogin::answer(const QString& staffCode, Judged judged) {
    app_.platform().progress->hide();
    setBusy(false);
    ReferenceData::SignInJudgement& j = judged.judgement;
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
    if (j.renew)
        app_.lookups().renewDigest(staffCode, j.stored, judged.renewed, officer);
    app_.setUserGlobalID(officer);
    app_.platform().log->write(
        QStringLiteral("Officer : %1 (%2)")
            .arg(officer.value(QStringLiteral("peng_nama")), officer.value(QStringLiteral("kod_pekerja"))));
    Q_EMIT finished(true);
}

void OfficerLogin::setBusy(bool busy) {
    if (busy_ == busy)
        return;
    busy_ = busy;
    Q_EMIT busyChanged();
}
