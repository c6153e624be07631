#pragma once

#include "CouncilEmulator.h"
#include "core/AppDelegate.h"
#include "platform/QtHttp.h"
#include "platform/fake/FakePlatform.h"
#include "sync/CouncilEndpoints.h"
#include "sync/LocationTracker.h"
#include "sync/SyncServices.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A phone (the data core on fakes, in a temporary Documents folder) talking over verified TLS to a
// council emulator of its own, with time-outs short enough for faults to be tried quickly.
class SyncFixture : public ::testing::Test {
protected:
    static constexpr int clientTimeoutMs = 700;
    static constexpr int serverDelayMs = 2500;

    void SetUp() override;
    void TearDown() override;

    SyncServices services();
    // What a location tracker needs, on the given fakes and this fixture's phone and emulator.
    LocationTrackerServices trackerServices(PositionUpdates* positions, Timers* timers,
                                            BackgroundTasks* tasks);
    std::vector<RawRequest> requestsSince(int64_t afterId = 0) { return emulator->store().requests(afterId); }
    int64_t lastRequestId();

    // The reference database as a phone in service holds it: officers, and the device when registered.
    void seedOfficers(const QList<QStringList>& officers); // code, password, name, status
    void seedRegistration(const QString& deviceId, int runningNumber);
    bool signIn(const QString& code, const QString& password);
    QStringList officerCodes();
    QString registeredDevice();

    void setFault(const std::string& endpoint, Fault::Kind kind, int value = 0, int times = -1,
                  int after = 0);
    // The last alert shown, with its one button.
    void expectAlert(const QString& title, const QString& message, const QString& button);

    QTemporaryDir documents;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<AppDelegate> app;
    std::unique_ptr<CouncilEmulator> emulator;
    std::unique_ptr<QtHttp> http;
    CouncilEndpoints endpoints;
};

// Store entries with recognisable content.
SavedCompound compoundEntry(const QString& number, int photos, const QString& flag = QStringLiteral("0"));
QByteArray photoBytes(const QString& number, int position);
