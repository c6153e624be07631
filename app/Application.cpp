#include "app/Application.h"

#include "core/AppDelegate.h"
#include "platform/DirFiles.h"
#include "platform/QtAlerts.h"
#include "platform/QtLog.h"
#include "platform/QtPositioning.h"
#include "platform/QtProgress.h"
#include "printing/NoticePrinter.h"
#include "printing/PrinterConnection.h"
#include "printing/PrinterLink.h"
#include "printing/PrinterReplyConsumer.h"
#include "printing/PrinterViewController.h"
#include "printing/WSSessionController.h"
#include "screens/AppContext.h"
#include "screens/LoginViewController.h"
#include "screens/ShellController.h"
#include "sync/OfficerLogin.h"

#include <QFile>
#include <QGeoPositionInfoSource>
#include <QNmeaPositionInfoSource>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTcpSocket>

namespace {

// The one-shot position read's source: an NMEA file or stream when configured, else the platform's.
QGeoPositionInfoSource* makePositionSource(const QString& nmea, QObject* parent) {
    if (nmea.isEmpty())
        return QGeoPositionInfoSource::createDefaultSource(parent);
    auto* source = new QNmeaPositionInfoSource(QNmeaPositionInfoSource::SimulationMode, parent);
    QIODevice* device = nullptr;
    if (QFile::exists(nmea)) {
        device = new QFile(nmea, source);
        device->open(QIODevice::ReadOnly);
    } else if (const qsizetype colon = nmea.lastIndexOf(QLatin1Char(':')); colon > 0) {
        source->setUpdateInterval(1000);
        auto* socket = new QTcpSocket(source);
        socket->connectToHost(nmea.left(colon), quint16(nmea.mid(colon + 1).toUInt()));
        device = socket;
    }
    if (device)
        source->setDevice(device);
    return source;
}

// The printer's accessory list: the configured link, or none (a connect then tells the officer).
std::unique_ptr<AccessoryManager> makeAccessories(const QString& printer, Log& log) {
    if (!printer.isEmpty()) {
        QString error;
        if (const auto link = PrinterLink::parse(printer, &error))
            return link->makeAccessoryManager();
        log.write(QStringLiteral("printer %1: %2").arg(printer, error));
    }
    return std::make_unique<FixedAccessoryManager>();
}

} // namespace

struct Application::Parts {
    explicit Parts(const AppOptions& o)
        : log(o.logFile), files(o.documentsDir, o.resourceDir, QStringLiteral(KOMPAUN_BUILD_VERSION)),
          positionSource(makePositionSource(o.nmeaSource, nullptr)), positioning(positionSource.get()),
          app(Platform{&log, &alerts, &progress, &files, &positioning}), login(app),
          loginScreen(app, login, LoginViewController::Actions{}), shell(app, loginScreen),
          accessories(makeAccessories(o.printer, log)), session(WSSessionController::sharedController()),
          replies(session, &log),
          notices(files.resourcePath(QStringLiteral("printheader"), QStringLiteral("bmp")), o.baseUrl, &log) {
        session->setLog(&log);
    }

    QtLog log;
    DirFiles files;
    QtAlerts alerts;
    QtProgress progress;
    std::unique_ptr<QGeoPositionInfoSource> positionSource;
    QtPositioning positioning;
    AppDelegate app;
    OfficerLogin login;
    LoginViewController loginScreen;
    ShellController shell;
    std::unique_ptr<AccessoryManager> accessories;
    WSSessionController* session;
    PrinterReplyConsumer replies;
    NoticePrinter notices;
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

QQuickWindow* Application::window() const {
    if (!d_->engine || d_->engine->rootObjects().isEmpty())
        return nullptr;
    return qobject_cast<QQuickWindow*>(d_->engine->rootObjects().first());
}

bool Application::start() {
    // Photo list, reference database installed, its handle made; preview mode off.
    d_->app.startUpData();

    // The printer screen and its connection.
    d_->printerConnection =
        std::make_unique<PrinterConnection>(d_->accessories.get(), d_->session, &d_->log, &d_->alerts);
    d_->printerScreen = std::make_unique<PrinterViewController>(d_->printerConnection.get(), &d_->notices);

    // The window, every screen, and the login screen as the root.
    d_->context = std::make_unique<AppContext>(AppContext::Parts{&d_->loginScreen, &d_->shell, &d_->alerts,
                                                                 &d_->progress, d_->printerScreen.get(),
                                                                 options_.resourceDir});
    d_->engine = std::make_unique<QQmlApplicationEngine>();
    connect(d_->engine.get(), &QQmlApplicationEngine::warnings, this,
            [this](const QList<QQmlError>& warnings) {
                for (const QQmlError& w : warnings)
                    qmlProblems_ << w.toString();
            });
    d_->engine->addImportPath(QStringLiteral("qrc:/"));
    d_->loginScreen.viewDidLoad();
    d_->engine->load(QUrl(QStringLiteral("qrc:/Kompaun/qml/Main.qml")));
    if (!window()) {
        qmlProblems_ << QStringLiteral("Main.qml did not load");
        return false;
    }

    // Running number checked, then the uploaded compounds purged.
    d_->app.startUpStores();

    // Location reporting every 60 seconds: comes with the web-service subsystem.

    window()->show();
    return true;
}
