#pragma once

#include "ChildProcess.h"
#include "Officer.h"
#include "app/AppOptions.h"

#include <QFile>
#include <QString>

#include <memory>

class Application;

// Drives the application offscreen through its screens as an officer would (taps and key presses on
// the window's items), replaying an officer script (Script.h): its own, walkthrough.officer, which visits
// every screen and takes a screenshot of each, or one given. It starts what the application talks to
// (printer and council emulators) on loopback and works in a fresh Documents folder of its own.
class Walkthrough {
public:
    explicit Walkthrough(AppOptions options, QString dir);
    ~Walkthrough();
    // Replays the script at path (the walkthrough's own when empty) on a new phone: 0 when it held.
    int run(const QString& path = {});

    void line(const QString& text);
    // "NN-name": the name numbered in the order the run saves its pictures.
    QString numbered(const QString& name) {
        return QStringLiteral("%1-%2").arg(++index_, 3, 10, QLatin1Char('0')).arg(name);
    }
    // The window as it shows now into DIR/file; and any file beside it.
    bool saveScreenshot(const QString& file);
    bool saveFile(const QString& file, const QByteArray& content);

    Application& app() { return *app_; }
    Officer& officer() { return *officer_; }
    // Waits for the printer emulator's next job and saves its picture beside the screenshots as
    // NN-name-receipt.png; empty when none came.
    QString collectReceipt(const QString& name);
    // How many jobs the printer emulator has written; waits out its idle gap first, so a job still
    // arriving is counted.
    int printedCount();
    QString staffCode() const { return staffCode_; }
    QString password() const { return password_; }
    QString deviceId() const { return deviceId_; }

private:
    // The new phone, the emulators and the window, as every run starts; false (said why) when not.
    bool setUp();
    bool startPrinterEmulator();
    // The council's web service: our own emulator over HTTPS with its own CA, unless a base URL was given.
    bool startCouncil();
    // A short NMEA recording near the council's offices, replayed as the phone's position.
    void writeNmeaReplay();
    // The pictures the officer picks from: the gallery's photographs, the scan folder's barcodes.
    void writePictures();

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
    std::unique_ptr<Application> app_;
    std::unique_ptr<Officer> officer_;
    int index_ = 0;
};
