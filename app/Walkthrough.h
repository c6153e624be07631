#pragma once

#include <QFile>
#include <QString>

#include <functional>

class Application;

// Drives the application offscreen through its screens exactly as an officer would, through the same
// controller actions the QML calls, saving a screenshot of each screen and a line per step into a folder.
class Walkthrough {
public:
    Walkthrough(Application& application, QString outDir);
    // 0 when every step held; otherwise the number of failed steps.
    int run();

private:
    // One step: an action, a check (an empty text when it held, else what went wrong), a screenshot.
    void step(const QString& name, const std::function<void()>& action,
              const std::function<QString()>& check);
    void line(const QString& text);
    QString shot(const QString& name);

    Application& app_;
    QString dir_;
    QFile log_;
    int index_ = 0;
    int failures_ = 0;
};
