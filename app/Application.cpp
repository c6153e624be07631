#include "app/Application.h"

#include "core/AppDelegate.h"
#include "platform/DesktopBackgroundTasks.h"
#include "platform/DirFiles.h"
#include "platform/HttpPageView.h"
#include "platform/QtAlerts.h"
#include "platform/QtBarcodeReader.h"
#include "platform/QtHttp.h"
#include "platform/QtLog.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtPositionUpdates.h"
#include "platform/QtPositioning.h"
#include "platform/QtProgress.h"
#include "platform/QtTimers.h"
#include "platform/QtUrlOpener.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterLink.h"
#include "printing/PrinterProtocol.h"
#include "printing/PrinterReplyConsumer.h"
#include "printing/WSSessionController.h"
#include "recognition/TesseractReader.h"
#include "screens/login/LoginViewController.h"
#include "screens/map/MapTiles.h"
#include "screens/photos/GalleryThumbnails.h"
#include "screens/photos/PhotoImageProvider.h"
#include "screens/printer/PrinterViewController.h"
#include "screens/printer/ReceiptPreview.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/ShellController.h"
#include "sync/CouncilSync.h"
#include "sync/DeviceRegistration.h"
#include "sync/LocationTracker.h"
#include "sync/OfficerLogin.h"
#include "sync/UploadRun.h"

#include <QGeoPositionInfoSource>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

namespace {

// A position source: the configured NMEA file or stream, else the platform's own (none on most desktops).
QGeoPositionInfoSource* makePositionSource(const QString& nmea) {
    return nmea.isEmpty() ? QGeoPositionInfoSource::createDefaultSource(nullptr)
                          : QtPositionUpdates::makeNmeaSource(nmea, nullptr);
}

// The printer's accessory list: the configured link, or none (a connect then tells the officer).
std::unique_ptr<AccessoryManager> makeAccessories(const QString& printer, const QString& protocol, Log& log) {
    if (!printer.isEmpty()) {
        QString error;
        if (const auto link = PrinterLink::parse(printer, &error))
            return link->makeAccessoryManager(protocol);
        log.write(QStringLiteral("printer %1: %2").arg(printer, error));
    }
    return std::make_unique<FixedAccessoryManager>();
}

} // namespace

struct Application::Parts {
    explicit Parts(const AppOptions& o)
        : log(o.logFile), files(o.documentsDir, o.resourceDir, QStringLiteral(KOMPAUN_BUILD_VERSION)),
          oneShotSource(makePositionSource(o.nmeaSource)), positioning(oneShotSource.get()),
          app(Platform{&log, &alerts, &progress, &files, &positioning}, &timers), login(app),
          http(HttpSettings::forApplication(files.buildVersion(), o.caFile)),
          endpoints(o.baseUrl.isEmpty() ? CouncilEndpoints::compiledBaseUrl() : o.baseUrl),
          sync(syncServicesFor(app, http, endpoints), &urlOpener),
          loginScreen(app, login,
                      LoginViewController::Actions{[this] { sync.kemas_kini_penguat_kuasa(); },
                                                   [this](const QString& id) { sync.kemas_kini_device(id); },
                                                   [this] { sync.kemaskiniApplikasi(); }}),
          shell(app, loginScreen, [this] { sync.muatNaik(); }),
          trackerSource(makePositionSource(o.nmeaSource)), positionUpdates(trackerSource.get()),
          tracker(LocationTrackerServices{&positionUpdates, &timers, &backgroundTasks, &log, &alerts, &http,
                                          endpoints, &app.deviceIdentity(),
                                          [this] { return app.getUserGlobalID(); }, 0}),
          printerProtocol(o.printerProtocol.isEmpty() ? PrinterProtocol::compiled() : o.printerProtocol),
          accessories(makeAccessories(o.printer, printerProtocol, log)), replies(&session, &log),
          pageView(http), notices(files.resourcePath(QStringLiteral("printheader"), QStringLiteral("bmp")),
                                  endpoints.baseUrl(), &log),
          photos(o.picturesDir) {
        session.setLog(&log);
    }

    // The one clock: record dates, the location timer and the printer's bounds all run on it.
    QtTimers timers;
    QtLog log;
    DirFiles files;
    QtAlerts alerts{&timers};
    QtProgress progress;
    std::unique_ptr<QGeoPositionInfoSource> oneShotSource;
    QtPositioning positioning;
    AppDelegate app;
    OfficerLogin login;
    QtHttp http;
    CouncilEndpoints endpoints;
    QtUrlOpener urlOpener;
    CouncilSync sync;
    LoginViewController loginScreen;
    ShellController shell;
    std::unique_ptr<QGeoPositionInfoSource> trackerSource;
    QtPositionUpdates positionUpdates;
    DesktopBackgroundTasks backgroundTasks;
    LocationTracker tracker;
    QString printerProtocol;
    std::unique_ptr<AccessoryManager> accessories;
    WSSessionController session{nullptr, &timers};
    PrinterReplyConsumer replies;
    QtBarcodeReader barcodeReader;
    HttpPageView pageView;
    NoticePrinter notices;
    QtPhotoLibrary photos;
    // Cards and plates read on the phone itself; its engine loads on the first reading.
    TesseractReader textReader;
    std::unique_ptr<PrinterConnection> printerConnection;
    std::unique_ptr<PrinterViewController> printerScreen;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<QQmlApplicationEngine> engine;
};

Application::Application(AppOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), d_(std::make_unique<Parts>(options_)) {}

Application::~Application() {
    // The window goes before the objects it shows.
    d_->engine.reset();
}

AppDelegate& Application::app() {
    return d_->app;
}
LoginViewController& Application::login() {
    return d_->loginScreen;
}
ShellController& Application::shell() {
    return d_->shell;
}
QtAlerts& Application::alerts() {
    return d_->alerts;
}
QtProgress& Application::progress() {
    return d_->progress;
}
QQmlApplicationEngine& Application::engine() {
    return *d_->engine;
}
PrinterConnection& Application::printerConnection() {
    return *d_->printerConnection;
}
PrinterViewController& Application::printerScreen() {
    return *d_->printerScreen;
}
const NoticePrinter& Application::notices() const {
    return d_->notices;
}
CouncilSync& Application::sync() {
    return d_->sync;
}
Http& Application::http() {
    return d_->http;
}
LocationTracker& Application::locationTracker() {
    return d_->tracker;
}
QtPhotoLibrary& Application::photos() {
    return d_->photos;
}

QQuickWindow* Application::window() const {
    if (!d_->engine || d_->engine->rootObjects().isEmpty())
        return nullptr;
    return qobject_cast<QQuickWindow*>(d_->engine->rootObjects().first());
}

bool Application::start() {
    if (!d_->http.caError().isEmpty()) {
        qmlProblems_ << QStringLiteral("CA file: %1").arg(d_->http.caError());
        return false;
    }
    // Photo list, reference database installed, its handle made; preview mode off.
    d_->app.startUpData();

    // The printer screen and its connection.
    d_->printerConnection =
        std::make_unique<PrinterConnection>(d_->accessories.get(), &d_->session, &d_->log, &d_->alerts);
    d_->printerConnection->setProtocol(d_->printerProtocol);
    d_->printerScreen = std::make_unique<PrinterViewController>(d_->printerConnection.get(), &d_->notices);

    // The window, every screen, and the login screen as the root.
    d_->context =
        std::make_unique<AppContext>(AppContext::Services{.app = d_->app,
                                                          .login = d_->loginScreen,
                                                          .shell = d_->shell,
                                                          .alerts = d_->alerts,
                                                          .progress = d_->progress,
                                                          .printer = *d_->printerScreen,
                                                          .printerConnection = *d_->printerConnection,
                                                          .notices = d_->notices,
                                                          .urlOpener = d_->urlOpener,
                                                          .endpoints = d_->endpoints,
                                                          .barcodeReader = d_->barcodeReader,
                                                          .pageView = d_->pageView,
                                                          .photos = d_->photos,
                                                          .scanDir = options_.scanDir,
                                                          .pictureDir = options_.resourceDir,
                                                          .textReader = &d_->textReader});
    d_->engine = std::make_unique<QQmlApplicationEngine>();
    connect(d_->engine.get(), &QQmlApplicationEngine::warnings, this,
            [this](const QList<QQmlError>& warnings) {
                for (const QQmlError& w : warnings)
                    qmlProblems_ << w.toString();
            });
    d_->engine->addImportPath(QStringLiteral("qrc:/"));
    d_->engine->addImageProvider(QStringLiteral("receipt"), new ReceiptPreview(d_->app, d_->notices));
    // Map tiles fetched once are kept in their own folder, so the map shows again without a network.
    d_->engine->addImageProvider(
        QStringLiteral("tiles"),
        new MapTiles(d_->http, options_.tileUrl, options_.documentsDir + QStringLiteral("/Caches/tiles")));
    d_->engine->addImageProvider(QStringLiteral("photo"), new PhotoImageProvider(d_->app));
    d_->engine->addImageProvider(QStringLiteral("gallery"), new GalleryThumbnails);
    d_->engine->load(QUrl(QStringLiteral("qrc:/Kompaun/qml/Main.qml")));
    if (!window()) {
        qmlProblems_ << QStringLiteral("Main.qml did not load");
        return false;
    }

    // An old store imported (under the overlay, the window live), the running number checked, then the
    // uploaded compounds purged. A running number that could not be read is then confirmed by the
    // council's last number when it answers.
    d_->loginScreen.showDeviceLayout();
    d_->app.startUpStores([this] {
        // The login screen's number and its offer to register again follow the check just made.
        d_->loginScreen.viewDidLoad();
        if (!d_->app.numberingTrusted())
            d_->sync.deviceRegistration().confirmRunningNumber();
    });
    // A registration that succeeded shows the sign-in layout at once, beside its "Berjaya" notice, not a
    // screen still saying the phone is unregistered.
    connect(&d_->sync.deviceRegistration(), &DeviceRegistration::finished, &d_->loginScreen,
            [this](bool registered) {
                if (registered)
                    d_->loginScreen.viewDidLoad();
            });
    d_->sync.uploadRun().setReload([this] { d_->shell.refreshWaitingCount(); });
    // A sign-out that waited for the upload goes on once the upload has ended.
    connect(&d_->sync.uploadRun(), &UploadRun::finished, &d_->shell, [this] { d_->shell.uploadFinished(); });

    // The position reported to the council every minute from now on, in the foreground and the background.
    d_->tracker.startLocationTracking();
    d_->tracker.startLocationUpdateTimer();
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, &d_->tracker,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationSuspended || state == Qt::ApplicationHidden)
                    d_->tracker.applicationEnterBackground();
            });

    window()->show();
    return true;
}
