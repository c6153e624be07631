#pragma once

#include "ChildProcess.h"
#include "Gallery.h"
#include "Officer.h"
#include "app/AppOptions.h"
#include "core/Record.h"

#include <QFile>
#include <QJsonArray>
#include <QString>

#include <functional>
#include <memory>

class Application;
class QtAlerts;

// Drives the application offscreen through its screens as an officer would (taps and key presses on
// the window's items), saving a screenshot per step and a line per step and per action into a folder.
// It starts what the application talks to (printer and council emulators) on loopback and works in a
// fresh Documents folder of its own. The flows live in their own files (Flows.h).
class Walkthrough {
public:
    explicit Walkthrough(AppOptions options, QString dir);
    ~Walkthrough();
    // 0 when every step held and no QML warning was printed; otherwise the number of failures.
    int run();
    // Replays an officer script (Script.h) instead of the flows, on the same new phone: 0 when it held.
    int runScript(const QString& path);

    // One step: an action, a check (an empty text when it held, else what went wrong), a screenshot.
    void step(const QString& name, const std::function<void()>& action,
              const std::function<QString()>& check);
    void line(const QString& text);
    // A step that takes the first tab back to its root and signs out through "Log Keluar".
    void signOutStep(const QString& name);
    QString shot(const QString& name);
    // The window as it shows now into DIR/file; and any file beside it.
    bool saveScreenshot(const QString& file);
    bool saveFile(const QString& file, const QByteArray& content);
    // Writes a text file beside the screenshots, named after the current step.
    void attach(const QString& suffix, const QByteArray& content);
    // The same for a record: a flat JSON object of strings, for support and checks.
    void attachRecord(const QString& suffix, const RecordMap& record);

    Application& app() { return *app_; }
    Officer& officer() { return *officer_; }
    // Waits for the printer emulator's next job and saves its picture beside the screenshots.
    QString collectReceipt(const QString& name);
    // What the council emulator holds (its inspection endpoints); empty with another server.
    QJsonArray councilHolds(const QString& what);
    bool ownCouncil() const { return ownCouncil_; }
    // The phone's gallery, filled by the photo flow and picked from by every flow that issues.
    Gallery& gallery() { return gallery_; }
    QString staffCode() const { return staffCode_; }
    QString password() const { return password_; }
    QString deviceId() const { return deviceId_; }

    // The alert showing has this title and message; an empty text when so, else what shows.
    static QString expectAlert(QtAlerts& alerts, const QString& title, const QString& message);

private:
    // The new phone, the emulators and the window, as every run starts; false (said why) when not.
    bool setUp();
    bool startPrinterEmulator();
    // The council's web service: our own emulator over HTTPS with its own CA, unless a base URL was given.
    bool startCouncil();
    // A short NMEA recording near the council's offices, replayed as the phone's position.
    void writeNmeaReplay();

    AppOptions options_;
    QString dir_;
    QFile log_;
    ChildProcess printerEmulator_;
    ChildProcess councilEmulator_;
    bool ownCouncil_ = false;
    QString staffCode_;
    QString password_;
    QString deviceId_;
    QString printerJobs_;
    int receiptsSeen_ = 0;
    Gallery gallery_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<Officer> officer_;
    int index_ = 0;
    int failures_ = 0;
};
