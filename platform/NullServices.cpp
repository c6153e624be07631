#include "platform/NullServices.h"

#include "platform/Alerts.h"
#include "platform/Files.h"
#include "platform/Log.h"
#include "platform/Positioning.h"
#include "platform/Progress.h"

namespace {

class NoLog : public Log {
public:
    void write(const QString&) override {}
};
class NoAlerts : public Alerts {
public:
    void show(Alert) override {}
};
class NoProgress : public Progress {
public:
    void show(const QString&) override {}
    void setDetail(const QString&) override {}
    void hide() override {}
};
class NoFiles : public Files {
public:
    QString documentsDir() const override { return {}; }
    QString resourcePath(const QString&, const QString&) const override { return {}; }
    QString buildVersion() const override { return {}; }
};
class NoPositioning : public Positioning {
public:
    void startUpdates() override {}
    void stopUpdates() override {}
    std::optional<Coordinate> lastKnownPosition() const override { return std::nullopt; }
};

} // namespace

namespace NullServices {
Log& log() {
    static NoLog none;
    return none;
}
Alerts& alerts() {
    static NoAlerts none;
    return none;
}
Progress& progress() {
    static NoProgress none;
    return none;
}
Files& files() {
    static NoFiles none;
    return none;
}
Positioning& positioning() {
    static NoPositioning none;
    return none;
}
} // namespace NullServices

Log* orNothing(Log* log) {
    return log ? log : &NullServices::log();
}
Alerts* orNothing(Alerts* alerts) {
    return alerts ? alerts : &NullServices::alerts();
}
Progress* orNothing(Progress* progress) {
    return progress ? progress : &NullServices::progress();
}
