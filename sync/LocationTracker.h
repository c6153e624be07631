#pragma once

#include "core/Record.h"
#include "platform/PositionUpdates.h"
#include "sync/CouncilEndpoints.h"
#include "sync/LocationShareModel.h"

#include <QObject>

#include <functional>
#include <optional>

class Alerts;
class DeviceIdentity;
class Http;
class Log;

struct LocationTrackerServices {
    PositionUpdates* manager = nullptr; // the tracker's own continuous positioning
    Timers* timers = nullptr;
    BackgroundTasks* backgroundTasks = nullptr;
    Log* log = nullptr;
    Alerts* alerts = nullptr;
    Http* http = nullptr;
    CouncilEndpoints endpoints;
    DeviceIdentity* deviceIdentity = nullptr;
    std::function<RecordMap()> officer; // the signed-in officer; empty before the first sign-in
    int timeoutMs = 0;                  // of the report; 0: the engine's default (30 s)
};

// Reports where the phone is, once a minute from start-up: positioning runs in bursts (on, first fix,
// ten more seconds, off until sixty seconds have passed), and each report sends the best fix collected
// since the previous one, or the last accepted fix again; before the first accepted fix it reports nothing.
//
// The report is sent asynchronously with a time-out, so a slow council never freezes the screens.
class LocationTracker : public QObject {
    Q_OBJECT
public:
    struct Coordinate {
        double latitude = 0;
        double longitude = 0;
    };
    static constexpr int reportIntervalMs = 60000;
    static constexpr int restartAfterMs = 60000;
    static constexpr int updatesForMs = 10000;

    explicit LocationTracker(LocationTrackerServices services, QObject* parent = nullptr);

    void startLocationTracking();
    void stopLocationTracking();
    void restartLocationUpdates();
    void stopLocationDelayBy10Seconds();
    void applicationEnterBackground();
    void updateLocationToServer();

    // The application's repeating report timer (`locationUpdateTimer`), started once at start-up.
    void startLocationUpdateTimer();
    void updateLocation();

    // Positioning callbacks.
    void didUpdateLocations(const QList<PositionFix>& fixes);
    void didFailWithError(PositionUpdates::Failure failure);

    Coordinate myLastLocation() const { return myLastLocation_; }
    double myLastLocationAccuracy() const { return myLastLocationAccuracy_; }
    Coordinate myLocation() const { return myLocation_; }
    double myLocationAccuracy() const { return myLocationAccuracy_; }
    LocationShareModel& shareModel() { return shareModel_; }
    bool reportInFlight() const { return inFlight_ > 0; }

Q_SIGNALS:
    void reportFinished(bool delivered);

private:
    void becomeDelegate();
    LocationTrackerServices s_;
    LocationShareModel shareModel_;
    std::unique_ptr<Timer> stopTimer_;
    std::unique_ptr<Timer> locationUpdateTimer_;
    Coordinate myLastLocation_;
    double myLastLocationAccuracy_ = 0;
    Coordinate myLocation_;
    double myLocationAccuracy_ = 0;
    int inFlight_ = 0;
    bool hasFix_ = false;
};
