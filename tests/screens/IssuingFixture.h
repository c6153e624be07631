#pragma once

#include "core/AppDelegate.h"
#include "core/Clock.h"
#include "core/RecordKeys.h"
#include "platform/fake/FakePlatform.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/RecordingAccessory.h"
#include "printing/WSSessionController.h"
#include "screens/AppContext.h"
#include "screens/FirstViewController.h"
#include "screens/KategoriViewController.h"
#include "screens/LoginViewController.h"
#include "screens/NavigationStack.h"
#include "screens/SectionKesalahanViewController.h"
#include "screens/ShellController.h"
#include "support/TestSupport.h"
#include "sync/OfficerLogin.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

// Issuing end to end without a window: a registered phone (M07, last number 41), a signed-in officer, the
// shipped reference database, the shell's stacks, and a recording printer behind the real connection.
class IssuingTest : public ::testing::Test {
protected:
    class FixedClock : public Clock {
    public:
        QDateTime now() const override { return instant; }
        QDateTime instant = QDateTime(QDate(2026, 3, 4), QTime(1, 30), Qt::UTC); // 09:30 in Kuala Lumpur
    };

    void SetUp() override {
        core.startUpData();
        ASSERT_FALSE(core.lookups().getAkta().isEmpty()) << "shipped reference database missing";
        ASSERT_FALSE(core.dbManager().doQuery(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS 'device_info' ('no' INTEGER PRIMARY KEY  NOT NULL,'uuid' "
            "TEXT, 'device_id' TEXT, 'device_desc' TEXT, 'no_akhir' TEXT);")));
        ASSERT_FALSE(core.dbManager().doQuery(
            QStringLiteral("INSERT OR REPLACE INTO device_info VALUES(1,'000','M07','000','41')")));
        ASSERT_TRUE(core.runningNumbers().setRunningNumber(41));
        core.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD FAUZI BIN ISMAIL")},
                              {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
        accessories.setAccessories({printer});
        types.setContext(&context);
        types.setNavigation(tab(ShellController::JenisKompaun));
        types.viewWillAppear();
    }

    NavigationStack* tab(int index) const { return shell.stack(index); }
    Record record() const { return core.getDictionary(); }
    QString key(QLatin1String k) const { return core.getDictionary()->value(k); }
    int stored() { return core.saveStore().getDicetakUploadCountNumber(); }
    int running() { return core.runningNumbers().getRunningNumber(); }

    // Type by its row, the act with that code, then the section row: the form set opens on tab 0.
    void startCompound(int typeRow, const QString& kodAkta, int sectionRow = 0) {
        NavigationStack* stack = tab(ShellController::JenisKompaun);
        QSignalSpy pushes(stack, &NavigationStack::pushRequested);
        types.select(typeRow);
        ASSERT_EQ(pushes.size(), 1);
        acts.setContext(&context);
        acts.setNavigation(stack);
        acts.setTypeCode(pushes.last().at(2).toMap().value(QStringLiteral("typeCode")).toString());
        int act = -1;
        for (int i = 0; i < acts.shownRows().size(); ++i)
            if (acts.shownRows()[i].value(QStringLiteral("kod_akta")).toString() == kodAkta)
                act = i;
        ASSERT_GE(act, 0) << kodAkta.toStdString();
        acts.select(act);
        sections.setContext(&context);
        sections.setNavigation(stack);
        sections.setActId(pushes.last().at(2).toMap().value(QStringLiteral("actId")).toString());
        sections.select(sectionRow);
        ASSERT_EQ(stack->currentScreen(), QStringLiteral("FormSetView.qml"));
    }
    void startGeneral() { startCompound(2, QStringLiteral("UUK PJJ 2008")); }
    void startTraffic() { startCompound(0, QStringLiteral("APJ 1987")); }

    // What the officer types on the forms of a general compound, and two photographs.
    void fillOffender() {
        record()->insert(Key::noKadPengenalanPesalah, QStringLiteral("880514105123"));
        record()->insert(Key::namaPesalah, QStringLiteral("TAN AH KOW"));
        record()->insert(Key::alamat1Pesalah, QStringLiteral("NO 12, JALAN MERANTI 3"));
        record()->insert(Key::lokasiTempatKejadian, QStringLiteral("DEPAN KEDAI 12"));
        core.setImageArray({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
        core.setImageArray({QStringLiteral("dGh1bWIy"), QStringLiteral("ZnVsbDI=")});
    }
    void fillVehicle() {
        record()->insert(Key::kenderaanNoKenderaan, QStringLiteral("WXY 1234"));
        record()->insert(Key::lokasiKawasan, QStringLiteral("PUSAT BANDAR TELUKMERBAU"));
    }

    // The oldest alert waiting, answered.
    void answer(int button) {
        ASSERT_FALSE(fakes.alerts.shown.isEmpty());
        fakes.alerts.answer(button);
    }
    QString alertText() const {
        return fakes.alerts.shown.isEmpty() ? QStringLiteral("<none>")
                                            : fakes.alerts.shown.first().title + QStringLiteral(": ") +
                                                  fakes.alerts.shown.first().message;
    }
    // Until the oldest alert waiting is the after-print menu.
    bool waitForMenu() {
        return testsupport::waitFor([&] {
            return !fakes.alerts.shown.isEmpty() && fakes.alerts.shown.first().tag == IssuingFlow::kMenuTag;
        });
    }
    // Until the printer has taken exactly these bytes, in total.
    bool waitForPrinted(const QByteArray& bytes) {
        return testsupport::waitFor([&] { return printer->received() == bytes; });
    }
    QByteArray noticeOf(const RecordMap& values, bool traffic) const {
        return notices.noticeBytes(makeRecord(values), traffic);
    }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    FixedClock clock;
    AppDelegate core{fakes.platform(), &clock};
    OfficerLogin login{core};
    LoginViewController loginScreen{core, login, {}};
    ShellController shell{core, loginScreen};
    std::shared_ptr<RecordingAccessory> printer = std::make_shared<RecordingAccessory>();
    FixedAccessoryManager accessories;
    WSSessionController session{&fakes.log};
    PrinterConnection connection{&accessories, &session, &fakes.log, &fakes.alerts};
    NoticePrinter notices{testsupport::resourceDir() + QStringLiteral("/printheader.bmp"),
                          QStringLiteral("https://enquiry.mptelukmerbau.gov.my")};
    AppContext context{[this] {
        AppContext::Parts parts;
        parts.app = &core;
        parts.shell = &shell;
        parts.printerConnection = &connection;
        parts.notices = &notices;
        return parts;
    }()};
    FirstViewController types;
    SectionKesalahanViewController acts;
    KategoriViewController sections;
};
