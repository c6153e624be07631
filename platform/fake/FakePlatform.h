#pragma once

#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/Positioning.h"
#include "platform/Progress.h"

#include <QList>
#include <QStringList>

#include <utility>

// In-memory stand-ins for the phone services: tests read what was shown and answer alerts.
class FakeLog : public Log {
public:
    void write(const QString& line) override { lines.append(line); }
    bool contains(const QString& text) const;
    QStringList lines;
};

class FakeAlerts : public Alerts {
public:
    void show(Alert alert) override { shown.append(std::move(alert)); }
    // Answers the oldest unanswered alert with the given button and removes it from the queue.
    void answer(int buttonIndex);
    const Alert& last() const { return shown.constLast(); }
    QList<Alert> shown;
};

class FakeProgress : public Progress {
public:
    void show(const QString& label) override;
    void setDetail(const QString& detail) override { details.append(detail); }
    void hide() override {
        visible = false;
        onCancel = nullptr;
    }
    void offerCancel(std::function<void()> cancel) override { onCancel = std::move(cancel); }
    // The officer presses "Batal"; false when the overlay offers none.
    bool cancel() {
        const std::function<void()> pressed = std::exchange(onCancel, nullptr);
        if (pressed)
            pressed();
        return bool(pressed);
    }
    bool visible = false;
    std::function<void()> onCancel;
    QStringList labels;
    QStringList details;
};

class FakeFiles : public Files {
public:
    FakeFiles(QString documents, QString resources) : docs(std::move(documents)), res(std::move(resources)) {}
    QString documentsDir() const override { return docs; }
    QString resourcePath(const QString& name, const QString& type) const override;
    QString buildVersion() const override { return version; }
    QString docs;
    QString res;
    QString version = QStringLiteral("1.0.0");
};

class FakePositioning : public Positioning {
public:
    void startUpdates() override {
        ++starts;
        updating = true;
    }
    void stopUpdates() override { updating = false; }
    std::optional<Coordinate> lastKnownPosition() const override { return known; }
    std::optional<Coordinate> known;
    int starts = 0;
    bool updating = false;
};

// A whole set of fakes, wired into a Platform.
struct FakePlatform {
    FakePlatform(const QString& documents, const QString& resources) : files(documents, resources) {}
    FakeLog log;
    FakeAlerts alerts;
    FakeProgress progress;
    FakeFiles files;
    FakePositioning positioning;
    Platform platform() { return Platform{&log, &alerts, &progress, &files, &positioning}; }
};
