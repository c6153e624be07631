#pragma once

#include "screens/shell/TextField.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppDelegate;
class OfficerLogin;

// The login screen: the root of the window. Its layout (registered or not) is chosen when the screen is
// loaded, and again at once when a registration made here succeeds; its serial number is the current
// one whenever it shows.
class LoginViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the application")
    Q_PROPERTY(TextField* userID READ userID CONSTANT)
    Q_PROPERTY(TextField* password READ password CONSTANT)
    Q_PROPERTY(TextField* deviceID READ deviceID CONSTANT)
    Q_PROPERTY(bool registeredLayout READ registeredLayout NOTIFY layoutChanged)
    // A registered phone whose running number cannot be trusted offers registration again.
    Q_PROPERTY(bool offersRegistration READ offersRegistration NOTIFY layoutChanged)
    Q_PROPERTY(QString iphoneID READ iphoneID NOTIFY layoutChanged)
    Q_PROPERTY(QString versionNumber READ versionNumber NOTIFY layoutChanged)
    Q_PROPERTY(QString runningNumber READ runningNumber NOTIFY layoutChanged)
    // A sign-in awaits its answer: the button is off meanwhile.
    Q_PROPERTY(bool signingIn READ signingIn NOTIFY signingInChanged)
    Q_PROPERTY(bool canUpdateOfficers READ canUpdateOfficers CONSTANT)
    Q_PROPERTY(bool canRegisterDevice READ canRegisterDevice CONSTANT)
    Q_PROPERTY(bool canOpenUpdatePage READ canOpenUpdatePage CONSTANT)
public:
    // What the web-service buttons do; left empty where the application has no web service.
    struct Actions {
        std::function<void()> updateOfficers;
        std::function<void(const QString& deviceId)> registerDevice;
        std::function<void()> openUpdatePage;
    };

    LoginViewController(AppDelegate& app, OfficerLogin& login, Actions actions, QObject* parent = nullptr);

    TextField* userID() { return &userID_; }
    TextField* password() { return &password_; }
    TextField* deviceID() { return &deviceID_; }
    bool registeredLayout() const { return registered_; }
    bool offersRegistration() const { return !registered_ || !numberingTrusted_; }
    QString iphoneID() const { return iphoneID_; }
    QString versionNumber() const { return versionNumber_; }
    QString runningNumber() const { return runningNumber_; }
    bool signingIn() const;
    bool canUpdateOfficers() const { return bool(actions_.updateOfficers); }
    bool canRegisterDevice() const { return bool(actions_.registerDevice); }
    bool canOpenUpdatePage() const { return bool(actions_.openUpdatePage); }

    // The screen's set-up when it is loaded: chooses the layout and fills the labels.
    void viewDidLoad();
    // The layout alone, for what shows beneath the overlay while the stores are still being set up.
    void showDeviceLayout();

    Q_INVOKABLE void logMasuk();
    Q_INVOKABLE void kemaskiniPenggunaAction();
    Q_INVOKABLE void kemaskiniDeviceAction();
    Q_INVOKABLE void kemaskiniApplikasiAction();
    Q_INVOKABLE void clearLogKeluar();
    // "No. Siri" as the running number now stands.
    void refreshRunningNumber();

Q_SIGNALS:
    void layoutChanged();
    void signingInChanged();
    void signedIn();

private:
    AppDelegate& app_;
    OfficerLogin& login_;
    Actions actions_;
    TextField userID_;
    TextField password_;
    TextField deviceID_;
    bool registered_ = false;
    bool numberingTrusted_ = true;
    QString iphoneID_;
    QString versionNumber_;
    QString runningNumber_;
};
