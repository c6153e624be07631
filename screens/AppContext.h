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
class PageView;
class CouncilSync;
class Http;
class NoticePrinter;
class PrinterConnection;
class QJSEngine;
class QQmlEngine;
class UrlOpener;

// The shared services, published once to QML as a C++-owned singleton. Per-screen controllers take
// it as their collaborator (`context: AppContext`) and reach what they need in C++, so a new screen
// adds its own controller and view and changes nothing here.
class AppContext : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(LoginViewController* login READ login CONSTANT)
    Q_PROPERTY(ShellController* shell READ shell CONSTANT)
    Q_PROPERTY(QtAlerts* alerts READ alerts CONSTANT)
    Q_PROPERTY(QtProgress* progress READ progress CONSTANT)
    Q_PROPERTY(PrinterViewController* printer READ printer CONSTANT)
    Q_PROPERTY(QtPhotoLibrary* photoPicker READ photoPicker CONSTANT)
    Q_PROPERTY(QString councilName READ councilName CONSTANT)
public:
    // Every pointer is optional: a test builds a context with only what its screen uses.
    struct Parts {
        AppDelegate* app = nullptr;
        LoginViewController* login = nullptr;
        ShellController* shell = nullptr;
        QtAlerts* alerts = nullptr;
        QtProgress* progress = nullptr;
        PrinterViewController* printer = nullptr;
        PrinterConnection* printerConnection = nullptr;
        const NoticePrinter* notices = nullptr;
        CouncilSync* sync = nullptr;
        Http* http = nullptr;
        UrlOpener* urlOpener = nullptr;
        const CouncilEndpoints* endpoints = nullptr;
        BarcodeReader* barcodeReader = nullptr;
        PageView* pageView = nullptr;
        // Where "Imbas Gambar" finds pictures of barcodes to decode.
        QString scanDir = {};
        PhotoLibrary* photos = nullptr;
        QString pictureDir;
    };

    explicit AppContext(Parts parts, QObject* parent = nullptr);
    ~AppContext() override;
    // QML's instance: the one the application made.
    static AppContext* create(QQmlEngine*, QJSEngine*);

    AppDelegate* app() const { return parts_.app; }
    LoginViewController* login() const { return parts_.login; }
    ShellController* shell() const { return parts_.shell; }
    QtAlerts* alerts() const { return parts_.alerts; }
    QtProgress* progress() const { return parts_.progress; }
    PrinterViewController* printer() const { return parts_.printer; }
    PrinterConnection* printerConnection() const { return parts_.printerConnection; }
    const NoticePrinter* notices() const { return parts_.notices; }
    CouncilSync* sync() const { return parts_.sync; }
    Http* http() const { return parts_.http; }
    UrlOpener* urlOpener() const { return parts_.urlOpener; }
    const CouncilEndpoints* endpoints() const { return parts_.endpoints; }
    BarcodeReader* barcodeReader() const { return parts_.barcodeReader; }
    PageView* pageView() const { return parts_.pageView; }
    QString scanDir() const { return parts_.scanDir; }
    PhotoLibrary* photos() const { return parts_.photos; }
    // The photo library's own picker, where the window draws it (none with a test's library).
    QtPhotoLibrary* photoPicker() const { return dynamic_cast<QtPhotoLibrary*>(parts_.photos); }
    QString councilName() const { return QStringLiteral("MAJLIS PERBANDARAN TELUKMERBAU"); }

    // A shipped picture by file name, for an Image's source.
    Q_INVOKABLE QUrl picture(const QString& fileName) const;

private:
    Parts parts_;
};
