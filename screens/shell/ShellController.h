#pragma once

#include "screens/shell/NavigationStack.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppDelegate;
class LoginViewController;

// The frame around every screen: signed out (login screen) or signed in (five tabs, each with its own
// stack of screens), the selected tab and what selecting it does to preview mode, and sign-out with its
// confirmation.
class ShellController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the application")
    Q_PROPERTY(bool signedIn READ signedIn NOTIFY signedInChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    // The tabs as the window draws them: title, picture and the name of the tab's stack.
    Q_PROPERTY(QVariantList tabs READ tabs CONSTANT)
    Q_PROPERTY(QString officerName READ officerName NOTIFY signedInChanged)
    Q_PROPERTY(int waitingCount READ waitingCount NOTIFY waitingCountChanged)
    Q_PROPERTY(bool canUpload READ canUpload CONSTANT)
public:
    // The tabs the code itself addresses, by their place on the bar; the bar itself is the table in the
    // source file.
    enum Tab { JenisKompaun = 0, Simpanan = 1, Dicetak = 2, Scan = 3, Pencetak = 4 };
    Q_ENUM(Tab)

    ShellController(AppDelegate& app, LoginViewController& login, std::function<void()> upload = {},
                    QObject* parent = nullptr);

    bool signedIn() const { return signedIn_; }
    int currentIndex() const { return currentIndex_; }
    QVariantList tabs() const;
    QString officerName() const;
    // Printed compounds still waiting for upload, as the printed list counts them.
    int waitingCount() const { return waitingCount_; }
    bool canUpload() const { return bool(upload_); }
    Q_INVOKABLE void refreshWaitingCount();

    // The stack of screens of a tab; null for an index that is no tab.
    Q_INVOKABLE NavigationStack* stack(int tab) const;

    // After a successful sign-in: the tabs are shown as they were left; at the first sign-in since
    // start-up, compounds waiting for upload for more than a day are offered for upload.
    void present();
    // The officer selected a tab.
    Q_INVOKABLE void tabBarControllerDidSelect(int index);
    // "Log Keluar": when compounds wait for upload and there is an upload to run, asks first whether to
    // upload them ("Ya": the upload runs and the officer is signed out when it ends, whatever its result;
    // "Tidak": on to the usual confirmation); otherwise only the usual confirmation.
    Q_INVOKABLE void logout();
    // The upload run ended (its summary shown).
    void uploadFinished();
    // "Ringkasan" on the printed list's bar: the shift summary over the list.
    Q_INVOKABLE void ringkasan();
    static QString uploadQuestion(int waiting);
    static constexpr int kUploadQuestionTag = 21;
    // Returns the compound-type tab to its first screen; the other tabs keep theirs.
    Q_INVOKABLE void viewGetBackToRoot();
    // "MuatNaik" on the printed list's bar: asks first, then starts the upload run.
    Q_INVOKABLE void muatNaik();

Q_SIGNALS:
    void signedInChanged();
    void currentIndexChanged();
    void waitingCountChanged();
    // The upload run ended: the printed list reads the store again.
    void uploadEnded();

private:
    AppDelegate& app_;
    LoginViewController& login_;
    bool signedIn_ = false;
    int currentIndex_ = JenisKompaun;
    void confirmLogout();
    void signOut();
    // At the first sign-in since start-up: compounds waiting for more than a day are offered for upload.
    void askForStaleUploads();

    std::function<void()> upload_;
    int waitingCount_ = 0;
    bool signOutAfterUpload_ = false;
    bool staleUploadsAsked_ = false;
    QList<NavigationStack*> stacks_;
};
