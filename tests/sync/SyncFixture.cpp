#include "SyncFixture.h"

#include "core/ReferenceSchema.h"
#include "sync/OfficerLogin.h"

#include <QCoreApplication>
#include <QSignalSpy>

void SyncFixture::SetUp() {
    ASSERT_TRUE(documents.isValid());
    QCoreApplication::setApplicationName(QStringLiteral("Kompaun"));
    fake = std::make_unique<FakePlatform>(documents.path(), documents.path());
    app = std::make_unique<AppDelegate>(fake->platform());

    EmulatorOptions options;
    options.certDir = (documents.path() + QStringLiteral("/emulator-tls")).toStdString();
    options.dbPath = (documents.path() + QStringLiteral("/emulator.sqlite")).toStdString();
    options.http = false; // the phone speaks HTTPS only
    emulator = std::make_unique<CouncilEmulator>(options);
    std::string error;
    ASSERT_TRUE(emulator->start(error)) << error;

    HttpSettings settings;
    settings.userAgent = QStringLiteral("Kompaun/1.0.0");
    settings.acceptLanguage = QStringLiteral("ms-MY, en-MY");
    settings.extraCaFile = QString::fromStdString(emulator->caFile());
    settings.timeoutMs = clientTimeoutMs;
    http = std::make_unique<QtHttp>(settings);
    ASSERT_TRUE(http->caError().isEmpty()) << http->caError().toStdString();
    endpoints = CouncilEndpoints(QString::fromStdString(emulator->httpsUrl()));
}

void SyncFixture::TearDown() {
    // Close the client's kept-alive connections first, so the server need not wait them out.
    http.reset();
    app.reset();
    QCoreApplication::processEvents();
    if (emulator)
        emulator->stop();
}

SyncServices SyncFixture::services() {
    return syncServicesFor(*app, *http, endpoints);
}

int64_t SyncFixture::lastRequestId() {
    const auto all = emulator->store().requests();
    return all.empty() ? 0 : all.back().id;
}

void SyncFixture::seedOfficers(const QList<QStringList>& officers) {
    SQLiteManager& db = app->dbManager();
    db.doQuery(QStringLiteral("drop table if exists gc_penguatkuasa"));
    db.doQuery(QString::fromLatin1(ReferenceSchema::officerTable));
    // As an earlier release kept them, in clear, then converted as every start-up does.
    for (const QStringList& o : officers)
        db.doQuery(
            QStringLiteral("INSERT INTO gc_penguatkuasa (kod_pekerja, peng_katalaluan, peng_nama, status) "
                           "VALUES (?,?,?,?)"),
            o);
    ASSERT_EQ(app->lookups().convertClearPasswords(), officers.size());
}

void SyncFixture::seedRegistration(const QString& deviceId, int runningNumber) {
    ASSERT_TRUE(app->lookups().registerDevice(deviceId, QString::number(runningNumber), runningNumber,
                                              app->runningNumbers()));
}

bool SyncFixture::signIn(const QString& code, const QString& password) {
    OfficerLogin login(*app);
    QSignalSpy answered(&login, &OfficerLogin::finished);
    login.logIn(code, password);
    return (!answered.isEmpty() || answered.wait(30000)) && answered.first().first().toBool();
}

QStringList SyncFixture::officerCodes() {
    QStringList codes;
    for (const DbRow& row : app->dbManager().getRowsForQuery(
             QStringLiteral("SELECT kod_pekerja FROM gc_penguatkuasa ORDER BY no")))
        codes << SQLiteManager::text(row.value(QStringLiteral("kod_pekerja")));
    return codes;
}

QString SyncFixture::registeredDevice() {
    if (!app->deviceIdentity().isRegistered())
        return QStringLiteral("(none)");
    return app->deviceIdentity().getCustomDeviceID();
}

void SyncFixture::setFault(const std::string& endpoint, Fault::Kind kind, int value, int times, int after) {
    Fault fault;
    fault.kind = kind;
    fault.status = value;
    fault.delayMs = value ? value : serverDelayMs;
    fault.retval = value;
    fault.times = times;
    fault.after = after;
    emulator->faults().set(endpoint, fault);
}

void SyncFixture::expectAlert(const QString& title, const QString& message, const QString& button) {
    ASSERT_FALSE(fake->alerts.shown.isEmpty());
    EXPECT_EQ(fake->alerts.last().title, title);
    EXPECT_EQ(fake->alerts.last().message, message);
    EXPECT_EQ(fake->alerts.last().buttons, QStringList{button});
}

QByteArray photoBytes(const QString& number, int position) {
    // JPEG markers around bytes that a careless text conversion would damage: NUL, CR LF, high bytes.
    QByteArray bytes("\xFF\xD8\xFF\xE0", 4);
    bytes += number.toLatin1() + '#' + QByteArray::number(position);
    bytes += QByteArray("\x00\r\n\x80\xFE--", 7);
    bytes += QByteArray(300 + position, char(position));
    bytes += QByteArray("\xFF\xD9", 2);
    return bytes;
}

SavedCompound compoundEntry(const QString& number, int photos, const QString& flag) {
    SavedCompound entry;
    entry.record =
        makeRecord({{QStringLiteral("kompaunRunningNumber"), number},
                    {QStringLiteral("status_batal"), QStringLiteral("0")},
                    {QStringLiteral("namaPesalah"), QStringLiteral("TAN & SONS <SDN BHD>")},
                    {QStringLiteral("kompaunKadar"), QStringLiteral("100+50%=150")},
                    {QStringLiteral("lokasiTempatKejadian"), QStringLiteral("JALAN MERANTI 3, TELUK")}});
    for (int p = 1; p <= photos; ++p)
        entry.photos.append(PhotoEntry{QString::fromLatin1(QByteArray("thumb").toBase64()),
                                       QString::fromLatin1(photoBytes(number, p).toBase64())});
    entry.uploadFlag = flag;
    return entry;
}

LocationTrackerServices SyncFixture::trackerServices(PositionUpdates* positions, Timers* timers,
                                                     BackgroundTasks* tasks) {
    LocationTrackerServices s;
    s.manager = positions;
    s.timers = timers;
    s.backgroundTasks = tasks;
    s.log = &fake->log;
    s.alerts = &fake->alerts;
    s.http = http.get();
    s.endpoints = endpoints;
    s.deviceIdentity = &app->deviceIdentity();
    s.officer = [this] { return app->getUserGlobalID(); };
    return s;
}
