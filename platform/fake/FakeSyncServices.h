#pragma once

#include "platform/BackgroundTasks.h"
#include "platform/PositionUpdates.h"
#include "platform/Timers.h"
#include "platform/UrlOpener.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <set>
#include <vector>

// Time that moves only when a test advances it; due timers fire in order, each at its own instant.
class FakeTimers : public Timers {
public:
    explicit FakeTimers(QDateTime start = QDateTime(QDate(2016, 3, 10), QTime(1, 0), Qt::UTC))
        : now_(start) {}
    std::unique_ptr<Timer> start(int intervalMs, bool repeating, std::function<void()> action) override;
    QDateTime now() const override { return now_; }
    void advance(qint64 ms);
    int activeCount() const;

private:
    struct Entry {
        qint64 dueMs;
        int intervalMs;
        bool repeating;
        bool active = true;
        std::function<void()> action;
    };
    qint64 elapsedMs_ = 0;
    QDateTime now_;
    std::vector<std::shared_ptr<Entry>> entries_;
};

class FakePositionUpdates : public PositionUpdates {
public:
    bool servicesEnabled() const override { return enabled; }
    Authorization authorization() const override { return auth; }
    void startUpdates() override {
        ++starts;
        on = true;
    }
    void stopUpdates() override {
        ++stops;
        on = false;
    }
    bool updating() const override { return on; }
    void deliver(const QList<PositionFix>& fixes) {
        if (onFixes)
            onFixes(fixes);
    }
    void fail(Failure failure) {
        if (onFailure)
            onFailure(failure);
    }
    bool enabled = true;
    Authorization auth = Authorization::Authorized;
    bool on = false;
    int starts = 0;
    int stops = 0;
};

class FakeBackgroundTasks : public BackgroundTasks {
public:
    bool supported() const override { return isSupported; }
    TaskId begin(std::function<void()>) override {
        live.insert(next);
        return next++;
    }
    void end(TaskId id) override { live.erase(id); }
    bool isSupported = true;
    TaskId next = 1;
    std::set<TaskId> live;
};

class FakeUrlOpener : public UrlOpener {
public:
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return opens;
    }
    bool canOpenUrl(const QUrl& url) const override {
        return schemes.contains(url.scheme()) || UrlOpener::canOpenUrl(url);
    }
    QList<QUrl> opened;
    QStringList schemes; // the applications installed, by the schemes they open
    bool opens = true;   // false: a machine with nothing to open the page with
};
