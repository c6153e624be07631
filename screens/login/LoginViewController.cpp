#include "screens/login/LoginViewController.h"

#include "core/AppDelegate.h"
#include "platform/Log.h"
#include "sync/OfficerLogin.h"

LoginViewController::LoginViewController(AppDelegate& app, OfficerLogin& login, Actions actions,
                                         QObject* parent)
    : QObject(parent), app_(app), login_(login), actions_(std::move(actions)) {
    connect(&login_, &OfficerLogin::busyChanged, this, &LoginViewController::signingInChanged);
    connect(&login_, &OfficerLogin::finished, this, [this](bool succeeded) {
        if (succeeded)
            Q_EMIT signedIn();
    });
}

bool LoginViewController::signingIn() const {
    return login_.busy();
}

void LoginViewController::viewDidLoad() {
    Log* log = app_.platform().log;
    log->write(QStringLiteral("FIRST TIME MASUK : SEMAK DEVICE DAFTAR ATAU TIDAK"));
    if (app_.deviceIdentity().getExistDeviceID() == QLatin1String("000")) {
        log->write(QStringLiteral("SEMAKAN : DEVICE BELUM DAFTAR"));
        registered_ = false;
        iphoneID_ = QStringLiteral("XXX");
        runningNumber_ = QStringLiteral("XXX");
        versionNumber_ = QStringLiteral("XXX");
    } else {
        log->write(QStringLiteral("SEMAKAN : DEVICE SUDAH DAFTAR"));
        registered_ = true;
        versionNumber_ = app_.deviceIdentity().getVersionNumber();
        iphoneID_ = app_.deviceIdentity().getCustomDeviceID();
        runningNumber_ = QString::number(app_.runningNumbers().getRunningNumber());
    }
    numberingTrusted_ = app_.numberingTrusted();
    log->write(QStringLiteral("login screen"));
    Q_EMIT layoutChanged();
}

void LoginViewController::showDeviceLayout() {
    // Asked without the "not registered" notice: the check after the stores' start-up gives it once.
    registered_ = app_.deviceIdentity().isRegistered();
    if (registered_) {
        versionNumber_ = app_.deviceIdentity().getVersionNumber();
        iphoneID_ = app_.deviceIdentity().getCustomDeviceID();
    }
    Q_EMIT layoutChanged();
}

void LoginViewController::logMasuk() {
    login_.logIn(userID_.text(), password_.text());
}

void LoginViewController::kemaskiniPenggunaAction() {
    if (actions_.updateOfficers)
        actions_.updateOfficers();
}

void LoginViewController::kemaskiniDeviceAction() {
    if (actions_.registerDevice)
        actions_.registerDevice(deviceID_.text());
}

void LoginViewController::kemaskiniApplikasiAction() {
    if (actions_.openUpdatePage)
        actions_.openUpdatePage();
}

void LoginViewController::clearLogKeluar() {
    userID_.setText(QString());
    password_.setText(QString());
    // The login screen shows again: its serial number is the one the compounds just issued reached.
    refreshRunningNumber();
}

void LoginViewController::refreshRunningNumber() {
    if (!registered_)
        return;
    const QString number = QString::number(app_.runningNumbers().getRunningNumber());
    if (number == runningNumber_)
        return;
    runningNumber_ = number;
    Q_EMIT layoutChanged();
}
