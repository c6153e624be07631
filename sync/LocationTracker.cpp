#include "sync/LocationTracker.h"

#include "core/DeviceIdentity.h"
#include "platform/Alerts.h"
#include "platform/Http.h"
#include "platform/Log.h"

#include <QJsonDocument>
#include <QJsonObject>

LocationTracker::LocationTracker(LocationTrackerServices services, QObject* parent)
    : QObject(parent), s_(std::move(services)), shareModel_(*s_.backgroundTasks, s_.log) {}

void LocationTracker::becomeDelegate() {
    s_.manager->onFixes = [this](const QList<PositionFix>& fixes) { didUpdateLocations(fixes); };
    s_.manager->onFailure = [this](PositionUpdates::Failure failure) { didFailWithError(failure); };
}

void LocationTracker::startLocationTracking() {
    s_.log->write(QStringLiteral("startLocationTracking"));
    if (!s_.manager->servicesEnabled()) {
        s_.log->write(QStringLiteral("locationServicesEnabled false"));
        s_.alerts->show(
            Alert{QStringLiteral("Location Services Disabled"),
                  QStringLiteral("You currently have all location services for this device disabled"),
                  {QStringLiteral("OK")},
                  0,
                  {}});
        return;
    }
    const auto status = s_.manager->authorization();
    if (status == PositionUpdates::Authorization::Restricted ||
        status == PositionUpdates::Authorization::Denied) {
        s_.log->write(QStringLiteral("authorizationStatus failed"));
        return;
    }
    s_.log->write(QStringLiteral("authorizationStatus authorized"));
    becomeDelegate();
    s_.manager->startUpdates();
}

void LocationTracker::stopLocationTracking() {
    s_.log->write(QStringLiteral("stopLocationTracking"));
    if (shareModel_.timer)
        shareModel_.timer->invalidate();
    s_.manager->stopUpdates();
}

void LocationTracker::applicationEnterBackground() {
    becomeDelegate();
    s_.manager->startUpdates();
    shareModel_.bgTask.beginNewBackgroundTask();
}

void LocationTracker::restartLocationUpdates() {
    s_.log->write(QStringLiteral("restartLocationUpdates"));
    // Called from the restart timer itself: stop it rather than destroy it under its own feet.
    if (shareModel_.timer)
        shareModel_.timer->invalidate();
    becomeDelegate();
    s_.manager->startUpdates();
}

void LocationTracker::stopLocationDelayBy10Seconds() {
    s_.manager->stopUpdates();
    s_.log->write(QStringLiteral("locationManager stop Updating after 10 seconds"));
}

void LocationTracker::didUpdateLocations(const QList<PositionFix>& fixes) {
    s_.log->write(QStringLiteral("locationManager didUpdateLocations"));
    const QDateTime now = s_.timers->now();
    for (const PositionFix& fix : fixes) {
        if (!fix.timestamp.isValid() || fix.timestamp.msecsTo(now) > 30000)
            continue;
        if (!(fix.horizontalAccuracy > 0 && fix.horizontalAccuracy < 2000))
            continue;
        if (fix.latitude == 0 && fix.longitude == 0)
            continue;
        myLastLocation_ = {fix.latitude, fix.longitude};
        myLastLocationAccuracy_ = fix.horizontalAccuracy;
        hasFix_ = true;
        shareModel_.myLocationArray.append(
            FixRecord{float(fix.latitude), float(fix.longitude), float(fix.horizontalAccuracy)});
    }
    if (shareModel_.timerPending())
        return;
    shareModel_.bgTask.beginNewBackgroundTask();
    shareModel_.timer = s_.timers->start(restartAfterMs, false, [this] { restartLocationUpdates(); });
    stopTimer_ = s_.timers->start(updatesForMs, false, [this] { stopLocationDelayBy10Seconds(); });
}

void LocationTracker::didFailWithError(PositionUpdates::Failure failure) {
    if (failure == PositionUpdates::Failure::Denied)
        s_.alerts->show(
            Alert{QStringLiteral("Enable Location Service"),
                  QStringLiteral("You have to enable the Location Service to use this App. To enable, "
                                 "please go to Settings->Privacy->Location Services"),
                  {QStringLiteral("Ok")},
                  0,
                  {}});
    else if (failure == PositionUpdates::Failure::Network)
        s_.alerts->show(Alert{QStringLiteral("Network Error"),
                              QStringLiteral("Please check your network connection."),
                              {QStringLiteral("Ok")},
                              0,
                              {}});
}

void LocationTracker::startLocationUpdateTimer() {
    locationUpdateTimer_ = s_.timers->start(reportIntervalMs, true, [this] { updateLocation(); });
}

void LocationTracker::updateLocation() {
    s_.log->write(QStringLiteral("updateLocation"));
    updateLocationToServer();
}

void LocationTracker::updateLocationToServer() {
    s_.log->write(QStringLiteral("updateLocationToServer"));
    const QList<FixRecord>& fixes = shareModel_.myLocationArray;
    if (!fixes.isEmpty()) {
        // Among equal accuracies the latest fix wins.
        FixRecord best = fixes.first();
        for (qsizetype i = 1; i < fixes.size(); ++i)
            if (fixes[i].theAccuracy <= best.theAccuracy)
                best = fixes[i];
        s_.log->write(QStringLiteral("My Best location:{ latitude = %1; longitude = %2; theAccuracy = %3 }")
                          .arg(best.latitude)
                          .arg(best.longitude)
                          .arg(best.theAccuracy));
        myLocation_ = {double(best.latitude), double(best.longitude)};
        myLocationAccuracy_ = double(best.theAccuracy);
    } else if (!hasFix_) {
        // Before the first fix there is no position at all: 0,0 would put the officer in the Atlantic.
        s_.log->write(QStringLiteral("Unable to get location, no position yet; nothing reported"));
        return;
    } else {
        s_.log->write(QStringLiteral("Unable to get location, use the last known location"));
        myLocation_ = myLastLocation_;
        myLocationAccuracy_ = myLastLocationAccuracy_;
    }

    const RecordMap officer = s_.officer ? s_.officer() : RecordMap{};
    QJsonObject report;
    report.insert(QStringLiteral("device_id"), s_.deviceIdentity->getCustomDeviceID());
    report.insert(QStringLiteral("kod_pekerja"), officer.value(QStringLiteral("kod_pekerja")));
    report.insert(QStringLiteral("peng_nama"), officer.value(QStringLiteral("peng_nama")));
    report.insert(QStringLiteral("lat"), QString::asprintf("%f", myLocation_.latitude));
    report.insert(QStringLiteral("long"), QString::asprintf("%f", myLocation_.longitude));
    HttpRequest request = CouncilWire::locationRequest(s_.endpoints, report);
    request.timeoutMs = s_.timeoutMs;
    s_.log->write(QStringLiteral("UPDATE DEVICE LOCATION DICT = %1")
                      .arg(QString::fromUtf8(QJsonDocument(report).toJson(QJsonDocument::Compact))));
    ++inFlight_;
    s_.http->send(
        request,
        [this](const HttpResponse& r) {
            --inFlight_;
            s_.log->write(
                QStringLiteral("updateLocationToServer reply : %1").arg(QString::fromUtf8(r.body.left(200))));
            Q_EMIT reportFinished(true);
        },
        [this](const HttpResponse& r) {
            // Not retried: the next report a minute later carries a fresher position anyway.
            --inFlight_;
            s_.log->write(
                QStringLiteral("updateLocationToServer failed : %1 %2").arg(r.status).arg(r.errorText));
            Q_EMIT reportFinished(false);
        },
        this);

    shareModel_.myLocationArray = {};
}
