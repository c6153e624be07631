// The tracker's cycle, fix filters and reports, with time driven by the test.
#include "SyncFixture.h"

#include "../support/TestSupport.h"
#include "platform/fake/FakeSyncServices.h"
#include "sync/LocationTracker.h"

using testsupport::waitFor;

namespace {

class Tracking : public SyncFixture {
protected:
    void SetUp() override {
        SyncFixture::SetUp();
        tracker = std::make_unique<LocationTracker>(trackerServices(&positions, &timers, &tasks));
    }
    void TearDown() override {
        tracker.reset();
        SyncFixture::TearDown();
    }
    PositionFix fix(double lat, double lon, double accuracy, int ageSeconds = 0) {
        return PositionFix{lat, lon, accuracy, timers.now().addSecs(-ageSeconds)};
    }
    // Advances time and waits for every report it sent to be answered.
    void advance(int ms) {
        timers.advance(ms);
        ASSERT_TRUE(waitFor([&] { return !tracker->reportInFlight(); }));
    }
    std::vector<PositionReport> reports() { return emulator->store().positions(); }

    FakePositionUpdates positions;
    FakeTimers timers;
    FakeBackgroundTasks tasks;
    std::unique_ptr<LocationTracker> tracker;
};

} // namespace

TEST_F(Tracking, CycleIsTenSecondsOnFiftyOff) {
    tracker->startLocationTracking();
    EXPECT_TRUE(positions.on);
    positions.deliver({fix(3.1, 101.6, 10)});
    advance(9999);
    EXPECT_TRUE(positions.on);
    advance(1);
    EXPECT_FALSE(positions.on);
    advance(49999);
    EXPECT_FALSE(positions.on);
    advance(1);
    EXPECT_TRUE(positions.on);
    EXPECT_EQ(positions.starts, 2);
    // Deliveries within a cycle only collect; the next cycle opens with the next delivery.
    positions.deliver({fix(3.1, 101.6, 10)});
    positions.deliver({fix(3.1, 101.6, 10)});
    advance(10000);
    EXPECT_FALSE(positions.on);
    EXPECT_EQ(tasks.live.size(), 2u); // each cycle began a task; how they chain is tested below
}

TEST_F(Tracking, FiltersAndTheBestFixChooseWhatIsReportedAndAFailedReportIsDropped) {
    tracker->startLocationTracking();
    tracker->startLocationUpdateTimer();
    // No fix, and fixes that are all filtered out: no position is known, so none is reported (never 0,0).
    positions.deliver({fix(0, 0, 10), fix(3.1, 101.6, 0)});
    advance(60000);
    advance(60000);
    EXPECT_TRUE(reports().empty());
    // An unregistered phone reports as device "000", and the officer is told.
    positions.deliver({fix(3.139, 101.687, 15)});
    advance(60000);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].deviceId, "000");
    EXPECT_EQ(fake->alerts.last().message, QStringLiteral("Device Belum Daftar : Sila Daftar Dahulu."));

    seedRegistration(QStringLiteral("M07"), 3);
    positions.deliver({fix(1.0, 1.0, 50), fix(2.0, 2.0, 30), fix(3.0, 3.0, 30), // the last of equals wins
                       fix(9.0, 9.0, 5, 31), fix(9.0, 9.0, 0), fix(9.0, 9.0, 2000), fix(0, 0, 5)});
    advance(60000);
    ASSERT_EQ(reports().size(), 2u);
    EXPECT_EQ(reports()[1].lat, "3.000000");
    EXPECT_EQ(reports()[1].lon, "3.000000");
    EXPECT_EQ(reports()[1].deviceId, "M07");
    EXPECT_EQ(reports()[1].kodPekerja, ""); // before anyone signs in
    EXPECT_TRUE(tracker->shareModel().myLocationArray.isEmpty());

    // Nothing new: the last accepted fix goes again (the (0, 0) and stale ones never counted).
    app->setUserGlobalID({{QStringLiteral("kod_pekerja"), QStringLiteral("PK001")},
                          {QStringLiteral("peng_nama"), QStringLiteral("AHMAD FAIZAL BIN OTHMAN")}});
    advance(60000);
    ASSERT_EQ(reports().size(), 3u);
    EXPECT_EQ(reports()[2].lat, "3.000000");
    EXPECT_EQ(reports()[2].kodPekerja, "PK001");
    EXPECT_EQ(reports()[2].pengNama, "AHMAD FAIZAL BIN OTHMAN");

    // A report that fails is dropped, and never holds up the timer.
    setFault("dlu", Fault::Kind::Delay, serverDelayMs);
    positions.deliver({fix(4.0, 100.0, 8)});
    bool delivered = true;
    QObject::connect(tracker.get(), &LocationTracker::reportFinished, [&](bool ok) { delivered = ok; });
    timers.advance(60000);
    EXPECT_TRUE(tracker->reportInFlight()); // the timer returned at once; the report waits on its own
    ASSERT_TRUE(waitFor([&] { return !tracker->reportInFlight(); }));
    EXPECT_FALSE(delivered);
    EXPECT_TRUE(tracker->shareModel().myLocationArray.isEmpty());
    emulator->faults().clear();
    advance(60000);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(reports().back().lat, "4.000000");
}

TEST_F(Tracking, PositioningFailuresAndRefusals) {
    positions.fail(PositionUpdates::Failure::Denied);
    EXPECT_EQ(fake->alerts.shown.size(), 0); // not yet the delegate
    tracker->startLocationTracking();
    positions.fail(PositionUpdates::Failure::Denied);
    expectAlert(
        QStringLiteral("Enable Location Service"),
        QStringLiteral("You have to enable the Location Service to use this App. To enable, please go "
                       "to Settings->Privacy->Location Services"),
        QStringLiteral("Ok"));
    positions.fail(PositionUpdates::Failure::Network);
    expectAlert(QStringLiteral("Network Error"), QStringLiteral("Please check your network connection."),
                QStringLiteral("Ok"));
    positions.fail(PositionUpdates::Failure::Other);
    EXPECT_EQ(fake->alerts.shown.size(), 2);

    FakePositionUpdates denied;
    denied.auth = PositionUpdates::Authorization::Denied;
    positions.on = false;
    LocationTracker refused(trackerServices(&denied, &timers, &tasks));
    refused.startLocationTracking();
    EXPECT_FALSE(denied.on);
    EXPECT_EQ(fake->alerts.shown.size(), 2); // no message for a refusal made earlier

    denied.enabled = false;
    refused.startLocationTracking();
    expectAlert(QStringLiteral("Location Services Disabled"),
                QStringLiteral("You currently have all location services for this device disabled"),
                QStringLiteral("OK"));
}

TEST(BackgroundTasksChain, MasterAndNewestStay) {
    FakeBackgroundTasks tasks;
    FakeLog log;
    BackgroundTaskManager manager(tasks, &log);
    EXPECT_EQ(manager.beginNewBackgroundTask(), 1u);
    manager.beginNewBackgroundTask();
    manager.beginNewBackgroundTask();
    manager.beginNewBackgroundTask();
    EXPECT_EQ(tasks.live, (std::set<BackgroundTasks::TaskId>{1, 4}));
    manager.endAllBackgroundTasks();
    EXPECT_TRUE(tasks.live.empty());
    EXPECT_EQ(manager.masterTaskId(), BackgroundTasks::invalidTask);

    tasks.isSupported = false;
    EXPECT_EQ(manager.beginNewBackgroundTask(), BackgroundTasks::invalidTask);
}
