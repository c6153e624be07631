#pragma once

#include "platform/QtAlerts.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtProgress.h"
#include "screens/login/LoginViewController.h"
#include "screens/printer/PrinterViewController.h"
#include "screens/shell/ShellController.h"
#include "screens/shell/ShiftChoices.h"

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
class TextReader;
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
    Q_PROPERTY(LoginViewController* login READ loginScreen CONSTANT)
    Q_PROPERTY(ShellController* shell READ shellController CONSTANT)
    Q_PROPERTY(QtAlerts* alerts READ alertQueue CONSTANT)
    Q_PROPERTY(QtProgress* progress READ progressOverlay CONSTANT)
    Q_PROPERTY(PrinterViewController* printer READ printerScreen CONSTANT)
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
        // Reads identity cards and number plates from pictures (none: the scan buttons read nothing).
        TextReader* textReader = nullptr;
    };

    explicit AppContext(const Services& services, QObject* parent = nullptr);
    ~AppContext() override;
    // QML's instance: the one the application made.
    static AppContext* create(QQmlEngine*, QJSEngine*);

    AppDelegate& app() const { return s_.app; }
    ShellController& shell() const { return s_.shell; }
    PrinterConnection& printerConnection() const { return s_.printerConnection; }
    const NoticePrinter& notices() const { return s_.notices; }
    UrlOpener& urlOpener() const { return s_.urlOpener; }
    const CouncilEndpoints& endpoints() const { return s_.endpoints; }
    BarcodeReader& barcodeReader() const { return s_.barcodeReader; }
    PageView& pageView() const { return s_.pageView; }
    PhotoLibrary& photos() const { return s_.photos; }
    QString scanDir() const { return s_.scanDir; }
    TextReader* textReader() const { return s_.textReader; }
    // The photo library's own picker, where the window draws it (none with a test's library).
    QtPhotoLibrary* photoPicker() const { return dynamic_cast<QtPhotoLibrary*>(&s_.photos); }
    QString councilName() const { return QStringLiteral("MAJLIS PERBANDARAN TELUKMERBAU"); }

    // The officer's choices kept through the shift; forgotten at sign-out.
    ShiftChoices& shift() const { return shift_; }

    // A shipped picture by file name, for an Image's source.
    Q_INVOKABLE QUrl picture(const QString& fileName) const;

private:
    // What QML reads, as QML takes it.
    LoginViewController* loginScreen() const { return &s_.login; }
    ShellController* shellController() const { return &s_.shell; }
    QtAlerts* alertQueue() const { return &s_.alerts; }
    QtProgress* progressOverlay() const { return &s_.progress; }
    PrinterViewController* printerScreen() const { return &s_.printer; }

    const Services s_;
    mutable ShiftChoices shift_;
};
