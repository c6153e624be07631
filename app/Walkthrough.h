#pragma once

#include "app/AppOptions.h"
#include "app/ChildProcess.h"
#include "core/Record.h"

#include <QFile>
#include <QJsonArray>
#include <QString>

#include <functional>
#include <memory>

class Application;

// Drives the application offscreen through its screens exactly as an officer would, through the same
// controller actions the QML calls, saving a screenshot of each screen and a line per step into a folder.
// It starts what the application talks to (a printer emulator) on loopback, and works in a fresh
// Documents folder of its own.
class Walkthrough {
public:
    explicit Walkthrough(AppOptions options);
    ~Walkthrough();
    // 0 when every step held; otherwise the number of failed steps.
    int run();

private:
    // One step: an action, a check (an empty text when it held, else what went wrong), a screenshot.
    void step(const QString& name, const std::function<void()>& action,
              const std::function<QString()>& check);
    void line(const QString& text);
    QString shot(const QString& name);
    bool startPrinterEmulator();
    // The council's web service: our own emulator over HTTPS with its own CA, unless a base URL was given.
    bool startCouncil();
    // A short NMEA recording near the council's offices, replayed as the phone's position.
    void writeNmeaReplay();
    // What the council emulator holds (its inspection endpoints); empty with another server.
    QJsonArray councilHolds(const QString& what);
    void waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);
    // Waits for the printer emulator's next job and saves its picture beside the screenshots.
    QString collectReceipt(const QString& name);
    Record sampleCompound(bool traffic);

    void signInSteps();
    void printingSteps();
    void uploadSteps();

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
    int index_ = 0;
    int failures_ = 0;
};
