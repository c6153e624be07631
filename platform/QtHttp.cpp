#include "platform/QtHttp.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslCertificate>
#include <QThread>
#include <QTimer>

#include <climits>

HttpSettings HttpSettings::forApplication(const QString& buildVersion, const QString& extraCaFile) {
    HttpSettings s;
    s.userAgent = QStringLiteral("%1/%2").arg(QCoreApplication::applicationName(), buildVersion);
    s.acceptLanguage = QLocale::system().uiLanguages().join(QStringLiteral(", "));
    s.extraCaFile = extraCaFile;
    return s;
}

QtHttp::QtHttp(HttpSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), ssl_(QSslConfiguration::defaultConfiguration()),
      manager_(new QNetworkAccessManager(this)) {
    // Peers are always verified; an extra authority is added to the trusted set, never a bypass.
    ssl_.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!settings_.extraCaFile.isEmpty()) {
        const QList<QSslCertificate> certificates =
            QSslCertificate::fromPath(settings_.extraCaFile, QSsl::Pem);
        if (certificates.isEmpty())
            caError_ = QStringLiteral("no certificate could be read from %1").arg(settings_.extraCaFile);
        else
            ssl_.addCaCertificates(certificates);
    }
}

QtHttp::~QtHttp() = default;

QNetworkReply* QtHttp::start(QNetworkAccessManager& manager, const HttpRequest& request) const {
    QNetworkRequest r(request.url);
    r.setSslConfiguration(ssl_);
    r.setRawHeader("User-Agent", settings_.userAgent.toUtf8());
    r.setRawHeader("Accept-Language", settings_.acceptLanguage.toUtf8());
    for (const auto& [name, value] : request.headers)
        r.setRawHeader(name, value);
    QNetworkReply* reply = manager.sendCustomRequest(r, request.method, request.body);
    // Qt ends every upload with a (0, 0) that would read as nothing sent: only real figures pass.
    if (request.onUploadProgress)
        QObject::connect(reply, &QNetworkReply::uploadProgress, reply,
                         [progress = request.onUploadProgress](qint64 sent, qint64 total) {
                             if (total > 0)
                                 progress(sent, total);
                         });
    return reply;
}

int QtHttp::boundMs(const HttpRequest& request) const {
    return int(std::min<qint64>(request.boundMs(settings_.timeoutMs), INT_MAX));
}

HttpResponse QtHttp::responseOf(QNetworkReply* reply, bool timedOut) {
    HttpResponse response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen()) // an aborted reply is closed
        response.body = reply->readAll();
    response.errorText = reply->errorString();
    if (timedOut) {
        response.outcome = HttpResponse::Outcome::TimedOut;
        response.errorText = QStringLiteral("no reply within the time-out");
    } else if (reply->error() == QNetworkReply::NoError && response.status >= 200 && response.status < 300) {
        response.outcome = HttpResponse::Outcome::Success;
        response.errorText.clear();
    } else if (response.status > 0 && (response.status < 200 || response.status >= 300) &&
               reply->error() != QNetworkReply::RemoteHostClosedError) {
        response.outcome = HttpResponse::Outcome::HttpError;
    } else {
        response.outcome = HttpResponse::Outcome::ConnectionFailed;
    }
    return response;
}

void QtHttp::send(HttpRequest request, Handler onCompletion, Handler onError, QObject* context) {
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this,
            [this, request = std::move(request), onCompletion = std::move(onCompletion),
             onError = std::move(onError), guard = QPointer<QObject>(context),
             hadContext = context != nullptr] {
                if (!hadContext || guard)
                    send(request, onCompletion, onError, guard);
            },
            Qt::QueuedConnection);
        return;
    }
    QNetworkReply* reply = start(*manager_, request);
    auto timedOut = std::make_shared<bool>(false);
    auto* timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, [reply, timedOut] {
        *timedOut = true;
        reply->abort();
    });
    timer->start(boundMs(request));
    const bool hadContext = context != nullptr;
    connect(reply, &QNetworkReply::finished, this,
            [reply, timedOut, onCompletion = std::move(onCompletion), onError = std::move(onError),
             guard = QPointer<QObject>(context), hadContext] {
                reply->deleteLater();
                if (hadContext && !guard)
                    return;
                const HttpResponse response = responseOf(reply, *timedOut);
                const Handler& handler = response.succeeded() ? onCompletion : onError;
                if (handler)
                    handler(response);
            });
}

HttpResponse QtHttp::sendBlocking(HttpRequest request) {
    if (QThread::currentThread() == thread()) {
        HttpResponse refused;
        refused.errorText = QStringLiteral("a blocking request on the UI thread was refused");
        return refused;
    }
    QNetworkAccessManager manager;
    QEventLoop loop;
    bool timedOut = false;
    QNetworkReply* reply = start(manager, request);
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(boundMs(request));
    QTimer watch;
    if (request.abandon) {
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (request.abandon->load())
                reply->abort();
        });
        watch.start(100);
    }
    if (!reply->isFinished())
        loop.exec();
    HttpResponse response = responseOf(reply, timedOut);
    delete reply;
    return response;
}
