#include "platform/DirFiles.h"
#include "platform/QtAlerts.h"
#include "platform/QtProgress.h"
#include "platform/fake/FakeSyncServices.h"
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

// A finger's second tap lands on the dialog that replaced the one it answered: the confirmation's "Ya"
// twice, 120 ms apart, must not also answer the menu that follows the printing.
TEST(QtAlertsTest, ANewDialogTakesNoTapForItsFirstMoments) {
    FakeTimers timers;
    QtAlerts alerts(&timers);
    QStringList chosen;
    const auto menu = [&](int b) { chosen << QStringLiteral("menu %1").arg(b); };
    alerts.show({QStringLiteral("Kepastian"),
                 QStringLiteral("Adakah anda pasti?"),
                 {QStringLiteral("Batal"), QStringLiteral("Ya")},
                 1,
                 [&](int b) {
                     chosen << QStringLiteral("confirm %1").arg(b);
                     alerts.show({QStringLiteral("Kepastian"),
                                  QStringLiteral("Sila pilih menu dibawah"),
                                  {QStringLiteral("Ke Utama"), QStringLiteral("Guna Kembali Kesalahan Ini"),
                                   QStringLiteral("Cetak Kembali")},
                                  2,
                                  menu});
                 }});
    struct Step {
        qint64 advanceMs;
        int button;
        bool accepting;
        int answered;
    };
    const Step steps[] = {
        {0, 1, false, 0},   // tapped as it appears: nothing
        {399, 1, false, 0}, // still new
        {1, 1, true, 1},    // "Ya"
        {120, 2, false, 1}, // the second tap of the same finger, on the menu just shown
        {280, 0, true, 2},  // the menu answered once it has settled
    };
    for (const Step& s : steps) {
        timers.advance(s.advanceMs);
        EXPECT_EQ(alerts.accepting(), s.accepting) << s.advanceMs;
        alerts.answer(s.button);
        EXPECT_EQ(chosen.size(), s.answered) << chosen.join(QStringLiteral(", ")).toStdString();
    }
    EXPECT_EQ(chosen, (QStringList{QStringLiteral("confirm 1"), QStringLiteral("menu 0")}));
    EXPECT_FALSE(alerts.visible());
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
