#include "app/Application.h"

#include "core/AppDelegate.h"
#include "platform/DirFiles.h"
#include "platform/QtAlerts.h"
#include "platform/QtLog.h"
#include "platform/QtPositioning.h"
#include "platform/QtProgress.h"
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

} // namespace

struct Application::Parts {
    explicit Parts(const AppOptions& o)
        : log(o.logFile), files(o.documentsDir, o.resourceDir, QStringLiteral(KOMPAUN_BUILD_VERSION)),
          positionSource(makePositionSource(o.nmeaSource, nullptr)), positioning(positionSource.get()),
          app(Platform{&log, &alerts, &progress, &files, &positioning}), login(app),
          loginScreen(app, login, LoginViewController::Actions{}), shell(app, loginScreen) {}

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

QQuickWindow* Application::window() const {
    if (!d_->engine || d_->engine->rootObjects().isEmpty())
        return nullptr;
    return qobject_cast<QQuickWindow*>(d_->engine->rootObjects().first());
}

bool Application::start() {
    // Photo list, reference database installed, its handle made; preview mode off.
    d_->app.startUpData();

    // Printer screen: comes with the printing subsystem.

    // The window, every screen, and the login screen as the root.
    d_->context = std::make_unique<AppContext>(AppContext::Parts{
        &d_->loginScreen, &d_->shell, &d_->alerts, &d_->progress, nullptr, options_.resourceDir});
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
