#pragma once

#include "ScreenServices.h"
#include "core/AppDelegate.h"
#include "core/KualaLumpurDate.h"
#include "core/RecordKeys.h"
#include "platform/Http.h"
#include "platform/fake/FakePlatform.h"
#include "screens/forms/DropDownMenuViewController.h"
#include "screens/forms/FormViewController.h"
#include "screens/login/LoginViewController.h"
#include "screens/offences/CompoundTypesViewController.h"
#include "screens/offences/FavViewController.h"
#include "screens/offences/KategoriViewController.h"
#include "screens/offences/SectionKesalahanViewController.h"
#include "screens/printed/PrintedListViewController.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/NavigationStack.h"
#include "screens/shell/ShellController.h"
#include "support/TestSupport.h"
#include "sync/OfficerLogin.h"

#include <gtest/gtest.h>

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// One of the application's QML screens in a phone-sized window, touched as the officer touches it: items
// found by objectName through the visual tree (a list's rows are not QObject children).
struct QmlScreen {
    // The screen shown and told it appears; null, and a failure added, when it does not load.
    QQuickItem* open(const QString& file, QSize size = {360, 640}, const QVariantMap& properties = {}) {
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/Kompaun/qml/") + file));
        root.reset(component.createWithInitialProperties(properties));
        auto* item = qobject_cast<QQuickItem*>(root.get());
        if (!item) {
            ADD_FAILURE() << qPrintable(component.errorString());
            return nullptr;
        }
        item->setParentItem(window.contentItem());
        item->setSize(size);
        window.resize(size);
        window.show();
        if (item->metaObject()->indexOfSignal("appearing()") >= 0)
            QMetaObject::invokeMethod(item, "appearing");
        return item;
    }
    QQuickItem* find(const QString& name, QQuickItem* from = nullptr) const {
        from = from ? from : qobject_cast<QQuickItem*>(root.get());
        if (!from || from->objectName() == name)
            return from;
        for (QQuickItem* child : from->childItems())
            if (QQuickItem* found = find(name, child))
                return found;
        return nullptr;
    }
    QQuickItem* item(const QString& name) const {
        QQuickItem* found = find(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    QString text(const QString& name) const {
        QQuickItem* found = item(name);
        return found ? found->property("text").toString() : QString();
    }
    void tap(QQuickItem* target) {
        ASSERT_TRUE(target && target->isVisible() && target->isEnabled());
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&window, Qt::LeftButton, {}, centre.toPoint());
    }
    void tap(const QString& name) { tap(item(name)); }
    void type(const char* text) {
        for (const char* c = text; *c; ++c)
            QTest::keyClick(&window, *c);
    }

    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QObject> root;
};

// An HTTP engine that keeps every request and answers it at once with the status and bytes given, or,
// answered by hand, leaves it to the test to call its handlers.
class TestHttp : public Http {
public:
    void send(HttpRequest request, Handler ok, Handler error, QObject* context) override {
        sent.append({std::move(request), ok, error, context});
        if (!byHand)
            (status == 200 ? ok : error)(
                {status == 200 ? HttpResponse::Outcome::Success : HttpResponse::Outcome::HttpError,
                 status,
                 body,
                 {}});
    }
    HttpResponse sendBlocking(HttpRequest) override { return {}; }
    struct Sent {
        HttpRequest request;
        Handler ok, error;
        QPointer<QObject> context;
    };
    QList<Sent> sent;
    bool byHand = false;
    int status = 200;
    QByteArray body;
};

// A phone over the shipped reference database with a clock the test sets, and every service a screen
// reaches; registered and signed in only when the test says so.
class ScreensTest : public ::testing::Test {
protected:
    class SetClock : public Clock {
    public:
        QDateTime now() const override { return instant; }
        QDateTime instant = QDateTime(QDate(2026, 3, 4), QTime(1, 30), QTimeZone::utc()); // 09:30 in KL
    };

    void SetUp() override {
        core.startUpData();
        ASSERT_FALSE(core.lookups().getAkta().isEmpty()) << "shipped reference database missing";
    }
    // Registered through the phone's own registration, the council having last numbered lastNumber.
    void registerPhone(const QString& code = QStringLiteral("M07"), int lastNumber = 41) {
        ASSERT_TRUE(core.lookups().registerDevice(code, QString::number(lastNumber), lastNumber,
                                                  core.runningNumbers()));
    }
    void signInOfficer() {
        core.setUserGlobalID({{QStringLiteral("peng_nama"), QStringLiteral("AHMAD FAUZI BIN ISMAIL")},
                              {QStringLiteral("kod_pekerja"), QStringLiteral("PK1001")}});
    }
    // The running number left unconfirmed, as after a registration the council never answered.
    void distrustNumbering() {
        testsupport::writeFile(dir.filePath(QLatin1String(RunningNumber::untrustedMarker)), {});
        ASSERT_FALSE(core.numberingTrusted());
    }
    // The latest alert whole, as "title: message [buttons]".
    std::string lastAlert() const {
        if (fakes.alerts.shown.isEmpty())
            return "<none>";
        const Alert& a = fakes.alerts.last();
        return QStringLiteral("%1: %2 [%3]").arg(a.title, a.message, a.buttons.join(u'|')).toStdString();
    }
    Record record() const { return core.getDictionary(); }
    QString rec(QLatin1String key) const { return record()->value(key); }
    // Keys and their texts, as a record holds them.
    using Texts = std::initializer_list<std::pair<QLatin1String, const char*>>;
    static RecordMap mapOf(Texts texts) {
        RecordMap map;
        for (const auto& [key, text] : texts)
            map.insert(key, QString::fromUtf8(text));
        return map;
    }
    // Typed into the record being shown, as the forms write it.
    void fill(Texts texts) const { record()->insert(mapOf(texts)); }
    // Each key holds its text in the record being shown.
    void expectRecord(Texts expected) const {
        for (const auto& [key, text] : expected)
            EXPECT_EQ(rec(key), QString::fromUtf8(text)) << key.data();
    }

    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    SetClock clock;
    AppDelegate core{fakes.platform(), &clock};
    ScreenServices services{core, fakes, testsupport::resourceDir(), dir.path()};
    AppContext context{services.services()};
};

// The issuing forms: a signed-in officer, a fresh general compound, and the pick-list sheet the window
// would show, made as its view makes it.
class FormsTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        signInOfficer();
        core.cleanUserChoiceGlobal();
        core.saveDictionaryInit();
        record()->insert(Key::isLaluLintas, QStringLiteral("TIDAK"));
        sheet.setContext(&context);
    }
    // The row of the open list whose label is that text, or -1.
    int rowOf(const QString& label) {
        for (int i = 0; i < sheet.model()->count(); ++i)
            if (sheet.model()->title(i) == label)
                return i;
        return -1;
    }
    void pick(const QString& label) {
        ASSERT_TRUE(sheet.isOpen());
        const int row = rowOf(label);
        ASSERT_GE(row, 0) << label.toStdString() << " not in " << sheet.title().toStdString();
        sheet.didSelectRow(row);
        EXPECT_FALSE(sheet.isOpen());
    }
    void show(FormViewController& form) {
        form.setContext(&context);
        form.viewWillAppear();
    }
    // Typed into the field, then its editing ended.
    static void typeInto(FormViewController& form, TextField* field, const QString& text) {
        field->setText(text);
        form.textFieldDidEndEditing(field);
    }

    DropDownMenuViewController sheet;
};

// Issuing end to end without a window: a registered phone (M07, last number 41), a signed-in officer, the
// shell's stacks, the type menu showing on the first tab, and a recording printer behind the real
// connection.
class IssuingTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        registerPhone();
        signInOfficer();
        types.setContext(&context);
        types.setNavigation(tab(ShellController::JenisKompaun));
        types.viewWillAppear();
    }

    NavigationStack* tab(int index) const { return shell.stack(index); }
    int stored() { return core.saveStore().getDicetakUploadCountNumber(); }
    int running() { return core.runningNumbers().getRunningNumber(); }
    // The properties the last push on the first tab handed to the new screen.
    QVariantMap lastPush() const { return pushes.isEmpty() ? QVariantMap() : pushes.last().at(2).toMap(); }

    // Type by its row, then the act with that code: the sections of that act are listed.
    void chooseAct(int typeRow, const QString& kodAkta) {
        types.select(typeRow);
        acts.setContext(&context);
        acts.setNavigation(tab(0));
        acts.setTypeCode(lastPush().value(QStringLiteral("typeCode")).toString());
        acts.select(rowWith(acts.shownRows(), QStringLiteral("kod_akta"), kodAkta));
        sections.setContext(&context);
        sections.setNavigation(tab(0));
        sections.setActId(lastPush().value(QStringLiteral("actId")).toString());
    }
    // ... and the section at that row: the form set opens on the first tab.
    void startCompound(int typeRow, const QString& kodAkta, int sectionRow = 0) {
        chooseAct(typeRow, kodAkta);
        sections.select(sectionRow);
        ASSERT_EQ(tab(0)->currentScreen(), QStringLiteral("FormSetView.qml"));
    }
    void startGeneral() { startCompound(2, QStringLiteral("UUK PJJ 2008")); }
    void startTraffic() { startCompound(0, QStringLiteral("APJ 1987")); }
    static int rowWith(const QList<QVariantMap>& rows, const QString& column, const QString& value) {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].value(column).toString() == value)
                return i;
        ADD_FAILURE() << "no row with " << column.toStdString() << " = " << value.toStdString();
        return -1;
    }

    // A general compound with what the officer types and two photographs, reviewed: the record as
    // "Semak" took it.
    RecordMap reviewGeneral() {
        startGeneral();
        fillOffender();
        EXPECT_TRUE(sections.flow().semak());
        return *record();
    }
    // What the officer types on the forms of a general compound, and two photographs.
    void fillOffender() {
        fill({{Key::noKadPengenalanPesalah, "880514105123"},
              {Key::namaPesalah, "TAN AH KOW"},
              {Key::alamat1Pesalah, "NO 12, JALAN MERANTI 3"},
              {Key::lokasiTempatKejadian, "DEPAN KEDAI 12"}});
        core.setImageArray({QStringLiteral("dGh1bWI="), QStringLiteral("ZnVsbA==")});
        core.setImageArray({QStringLiteral("dGh1bWIy"), QStringLiteral("ZnVsbDI=")});
    }

    // The oldest alert waiting, answered.
    void answer(int button) {
        ASSERT_FALSE(fakes.alerts.shown.isEmpty());
        fakes.alerts.answer(button);
    }
    // Until the oldest alert waiting is the after-print menu.
    bool waitForMenu() {
        return testsupport::waitFor([&] {
            return !fakes.alerts.shown.isEmpty() && fakes.alerts.shown.first().tag == IssuingFlow::kMenuTag;
        });
    }
    // "Cetak" on that screen, "Ya" to its question, then until the after-print menu.
    template <class Screen> bool cetakYa(Screen& screen) {
        screen.cetak();
        answer(1);
        return waitForMenu();
    }
    QByteArray noticeOf(const RecordMap& values, bool traffic) const {
        return notices.noticeBytes(makeRecord(values), traffic);
    }

    LoginViewController& loginScreen = services.loginScreen;
    ShellController& shell = services.shell;
    QSignalSpy pushes{shell.stack(ShellController::JenisKompaun), &NavigationStack::pushRequested};
    std::shared_ptr<RecordingAccessory>& printer = services.printer;
    FixedAccessoryManager& accessories = services.accessories;
    WSSessionController& session = services.session;
    PrinterConnection& connection = services.connection;
    const NoticePrinter& notices = services.notices;
    // The printed list ("Dicetak") on its own tab, as the officer opens it.
    void showList() {
        list.setContext(&context);
        list.setNavigation(tab(ShellController::Dicetak));
        shell.tabBarControllerDidSelect(ShellController::Dicetak);
        list.viewWillAppear();
    }

    // The section at that row of an act saved as a favourite, as "Simpan" does; the first tab back at its
    // menu.
    void saveFavourite(int typeRow = 2, const QString& kodAkta = QStringLiteral("UUK PJJ 2008"),
                       int sectionRow = 1) {
        startCompound(typeRow, kodAkta, sectionRow);
        sections.simpan(sectionRow);
        tab(0)->popToRoot();
        types.viewWillAppear();
    }
    // The favourites ("Simpanan") on their own tab, as the officer opens them.
    void showFavourites() {
        fav.setContext(&context);
        fav.setNavigation(tab(ShellController::Simpanan));
        shell.tabBarControllerDidSelect(ShellController::Simpanan);
        fav.viewWillAppear();
    }

    CompoundTypesViewController types;
    SectionKesalahanViewController acts;
    KategoriViewController sections;
    PrintedListViewController list;
    FavViewController fav;
};
