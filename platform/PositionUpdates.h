#pragma once

#include <QDateTime>
#include <QList>

#include <functional>

// One position fix as the positioning service delivers it.
struct PositionFix {
    double latitude = 0;
    double longitude = 0;
    double horizontalAccuracy = -1; // metres; negative when unknown
    QDateTime timestamp;
};

// Continuous positioning for the location tracker: updates until stopped, failures with a code.
class PositionUpdates {
public:
    enum class Authorization { NotDetermined, Restricted, Denied, Authorized };
    enum class Failure { Denied, Network, Other };

    virtual ~PositionUpdates() = default;
    virtual bool servicesEnabled() const = 0;
    virtual Authorization authorization() const = 0;
    // Best-for-navigation accuracy and no distance filter: every fix the service has is delivered.
    virtual void startUpdates() = 0;
    virtual void stopUpdates() = 0;
    virtual bool updating() const = 0;

    // Called on the UI thread.
    std::function<void(const QList<PositionFix>&)> onFixes;
    std::function<void(Failure)> onFailure;
};
