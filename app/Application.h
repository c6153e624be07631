#pragma once

#include "app/AppOptions.h"

#include <QObject>
#include <QStringList>

#include <memory>

class AppDelegate;
class LoginViewController;
class ShellController;
class QtAlerts;
class QtProgress;
class QtPhotoLibrary;
class QQmlApplicationEngine;
class QQuickWindow;
class NoticePrinter;
class PrinterConnection;
class PrinterViewController;
class CouncilSync;
class Http;
class LocationTracker;

// The composition root: makes every object once, wires them, runs the start-up sequence and loads the
// window. The phone build, the self-test and the walkthrough all start it the same way.
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(AppOptions options, QObject* parent = nullptr);
    ~Application() override;

    // Runs the start-up sequence; false when the window could not be loaded.
    bool start();

    const AppOptions& options() const { return options_; }
    AppDelegate& app();
    LoginViewController& login();
    ShellController& shell();
    QtAlerts& alerts();
    QtProgress& progress();
    QQmlApplicationEngine& engine();
    PrinterConnection& printerConnection();
    PrinterViewController& printerScreen();
    const NoticePrinter& notices() const;
    CouncilSync& sync();
    Http& http();
    LocationTracker& locationTracker();
    QtPhotoLibrary& photos();
    QQuickWindow* window() const;
    // Every QML warning and load error seen so far.
    QStringList qmlProblems() const { return qmlProblems_; }

private:
    struct Parts;
    AppOptions options_;
    std::unique_ptr<Parts> d_;
    QStringList qmlProblems_;
};
