#pragma once

#include "screens/LoginViewController.h"
#include "screens/ShellController.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;
class QtAlerts;
class QtProgress;

// What the QML screens see of the application: the controllers, the alert queue and the progress
// overlay. Made and owned by the application; QML gets the one instance.
class AppContext : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(LoginViewController* login READ login CONSTANT)
    Q_PROPERTY(ShellController* shell READ shell CONSTANT)
    Q_PROPERTY(QObject* alerts READ alerts CONSTANT)
    Q_PROPERTY(QObject* progress READ progress CONSTANT)
    Q_PROPERTY(QObject* printer READ printer CONSTANT)
    Q_PROPERTY(QString councilName READ councilName CONSTANT)
public:
    struct Parts {
        LoginViewController* login = nullptr;
        ShellController* shell = nullptr;
        QtAlerts* alerts = nullptr;
        QtProgress* progress = nullptr;
        QObject* printer = nullptr; // the printer screen's controller, when printing is built in
        QString pictureDir;
    };

    explicit AppContext(Parts parts, QObject* parent = nullptr);
    ~AppContext() override;
    static AppContext* create(QQmlEngine*, QJSEngine*);

    LoginViewController* login() const { return parts_.login; }
    ShellController* shell() const { return parts_.shell; }
    QObject* alerts() const;
    QObject* progress() const;
    QObject* printer() const { return parts_.printer; }
    QString councilName() const { return QStringLiteral("MAJLIS PERBANDARAN TELUKMERBAU"); }

    // A shipped picture by file name, for an Image's source.
    Q_INVOKABLE QUrl picture(const QString& fileName) const;

private:
    Parts parts_;
};
