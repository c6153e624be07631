#include "platform/DirFiles.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>

namespace {

TEST(QtAlertsTest, ShowsOneAtATimeAndAnswersInOrder) {
    QtAlerts alerts;
    QList<int> answers;
    alerts.show({QStringLiteral("Kepastian"),
                 QStringLiteral("Keluar?"),
                 {QStringLiteral("Batal"), QStringLiteral("Keluar")},
                 7,
                 [&](int b) {
                     answers << b;
                     // An answer that raises the next alert: it waits behind the one already queued.
                     alerts.show({QStringLiteral("Notifikasi"), QStringLiteral("Selesai"), {}, 0, [&](int c) {
                                      answers << 10 + c;
                                  }});
                 }});
    alerts.show({QStringLiteral("Gagal"), QStringLiteral("Rangkaian"), {QStringLiteral("YA")}, 0, {}});
    ASSERT_TRUE(alerts.visible());
    EXPECT_EQ(alerts.tag(), 7);
    alerts.answer(1);
    EXPECT_EQ(alerts.title(), QStringLiteral("Gagal"));
    alerts.answer(0);
    EXPECT_EQ(alerts.title(), QStringLiteral("Notifikasi"));
    EXPECT_EQ(alerts.buttons(), QStringList{QStringLiteral("OK")}); // an alert always has a way out
    alerts.answer(0);
    EXPECT_FALSE(alerts.visible());
    alerts.answer(0); // nothing left: ignored
    EXPECT_EQ(answers, (QList<int>{1, 10}));
}

TEST(QtProgressTest, WorkerThreadUpdatesReachTheUiThread) {
    QtProgress progress;
    QStringList seen;
    QObject::connect(&progress, &QtProgress::changed, [&] {
        EXPECT_EQ(QThread::currentThread(), progress.thread());
        seen << progress.detail();
    });
    std::unique_ptr<QThread> worker(QThread::create([&] {
        progress.show(QStringLiteral("Muat Naik"));
        for (int i = 0; i <= 3; ++i)
            progress.setDetail(QStringLiteral("%1/3").arg(i));
        progress.hide();
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(10000));
    ASSERT_TRUE(testsupport::waitFor([&] { return seen.size() == 6; }));
    EXPECT_EQ(seen.at(4), QStringLiteral("3/3"));
    EXPECT_FALSE(progress.visible());
    EXPECT_EQ(progress.label(), QStringLiteral("Muat Naik"));
}

TEST(DirFilesTest, FindsShippedResourcesOnlyInsideTheirFolder) {
    QTemporaryDir docs;
    DirFiles files(docs.filePath(QStringLiteral("Documents")), testsupport::resourceDir(),
                   QStringLiteral("7"));
    EXPECT_TRUE(QFileInfo(files.documentsDir()).isDir()); // made on first use
    EXPECT_FALSE(files.resourcePath(QStringLiteral("TVR"), QStringLiteral("sqlite")).isEmpty());
    EXPECT_TRUE(files.resourcePath(QStringLiteral("../resources/TVR"), QStringLiteral("sqlite")).isEmpty());
    EXPECT_TRUE(files.resourcePath(QStringLiteral("tiada"), QStringLiteral("bmp")).isEmpty());
}

} // namespace
