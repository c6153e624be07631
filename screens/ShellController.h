#pragma once

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class AppDelegate;
class LoginViewController;

// The frame around every screen: signed out (login screen) or signed in (five tabs), the selected tab
// and what selecting it does to preview mode, and sign-out with its confirmation.
class ShellController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the application")
    Q_PROPERTY(bool signedIn READ signedIn NOTIFY signedInChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(QStringList tabTitles READ tabTitles CONSTANT)
    Q_PROPERTY(QStringList tabPictures READ tabPictures CONSTANT)
    Q_PROPERTY(QString officerName READ officerName NOTIFY signedInChanged)
public:
    enum Tab { JenisKompaun = 0, Simpanan = 1, Dicetak = 2, Scan = 3, Pencetak = 4 };
    Q_ENUM(Tab)

    ShellController(AppDelegate& app, LoginViewController& login, QObject* parent = nullptr);

    bool signedIn() const { return signedIn_; }
    int currentIndex() const { return currentIndex_; }
    QStringList tabTitles() const;
    QStringList tabPictures() const;
    QString officerName() const;

    // After a successful sign-in: the tabs are shown as they were left.
    void present();
    // The officer selected a tab.
    Q_INVOKABLE void tabBarControllerDidSelect(int index);
    // "Log Keluar": asks first.
    Q_INVOKABLE void logout();
    // Returns the compound-type tab to its first screen.
    Q_INVOKABLE void viewGetBackToRoot();

Q_SIGNALS:
    void signedInChanged();
    void currentIndexChanged();
    void backToRootRequested();

private:
    AppDelegate& app_;
    LoginViewController& login_;
    bool signedIn_ = false;
    int currentIndex_ = JenisKompaun;
};
