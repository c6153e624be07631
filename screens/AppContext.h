#pragma once

#include "platform/QtAlerts.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtProgress.h"
#include "printing/PrinterViewController.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class AppDelegate;
class BarcodeReader;
class CouncilEndpoints;
class NoticePrinter;
class PageView;
class PhotoLibrary;
class PrinterConnection;
class QJSEngine;
class QQmlEngine;
class UrlOpener;

// The shared services, published once to QML as a C++-owned singleton. Per-screen controllers take
// it as their collaborator (`context: AppContext`) and reach what they need in C++, so a new screen
// adds its own controller and view and changes nothing here. Every service is required: the application
// makes each once and a test gives the real one or a fake, so no screen asks whether it has one.
class AppContext : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(LoginViewController* login MEMBER login_ CONSTANT)
    Q_PROPERTY(ShellController* shell MEMBER shell_ CONSTANT)
    Q_PROPERTY(QtAlerts* alerts MEMBER alerts_ CONSTANT)
    Q_PROPERTY(QtProgress* progress MEMBER progress_ CONSTANT)
    Q_PROPERTY(PrinterViewController* printer MEMBER printer_ CONSTANT)
    Q_PROPERTY(QtPhotoLibrary* photoPicker READ photoPicker CONSTANT)
    Q_PROPERTY(QString councilName READ councilName CONSTANT)
public:
    struct Services {
        AppDelegate& app;
        LoginViewController& login;
        ShellController& shell;
        QtAlerts& alerts;
        QtProgress& progress;
        PrinterViewController& printer;
        PrinterConnection& printerConnection;
        const NoticePrinter& notices;
        UrlOpener& urlOpener;
        const CouncilEndpoints& endpoints;
        BarcodeReader& barcodeReader;
        PageView& pageView;
        PhotoLibrary& photos;
        // Where "Imbas Gambar" finds pictures of barcodes to decode.
        QString scanDir;
        QString pictureDir;
    };

    explicit AppContext(const Services& services, QObject* parent = nullptr);
    ~AppContext() override;
    // QML's instance: the one the application made.
    static AppContext* create(QQmlEngine*, QJSEngine*);

    AppDelegate& app() const { return app_; }
    ShellController& shell() const { return *shell_; }
    PrinterConnection& printerConnection() const { return printerConnection_; }
    const NoticePrinter& notices() const { return notices_; }
    UrlOpener& urlOpener() const { return urlOpener_; }
    const CouncilEndpoints& endpoints() const { return endpoints_; }
    BarcodeReader& barcodeReader() const { return barcodeReader_; }
    PageView& pageView() const { return pageView_; }
    PhotoLibrary& photos() const { return photos_; }
    QString scanDir() const { return scanDir_; }
    // The photo library's own picker, where the window draws it (none with a test's library).
    QtPhotoLibrary* photoPicker() const { return dynamic_cast<QtPhotoLibrary*>(&photos_); }
    QString councilName() const { return QStringLiteral("MAJLIS PERBANDARAN TELUKMERBAU"); }

    // A shipped picture by file name, for an Image's source.
    Q_INVOKABLE QUrl picture(const QString& fileName) const;

private:
    AppDelegate& app_;
    // Pointers only because QML reads them; never null.
    LoginViewController* login_;
    ShellController* shell_;
    QtAlerts* alerts_;
    QtProgress* progress_;
    PrinterViewController* printer_;
    PrinterConnection& printerConnection_;
    const NoticePrinter& notices_;
    UrlOpener& urlOpener_;
    const CouncilEndpoints& endpoints_;
    BarcodeReader& barcodeReader_;
    PageView& pageView_;
    PhotoLibrary& photos_;
    QString scanDir_;
    QString pictureDir_;
};
