#pragma once

#include "platform/Http.h"

#include <QObject>
#include <QSslConfiguration>

class QNetworkAccessManager;
class QNetworkReply;

struct HttpSettings {
    QString userAgent;      // "%@/%@" of the application name and build version
    QString acceptLanguage; // the preferred languages
    QString extraCaFile;    // PEM file of a further trusted authority (the emulator, a council's private CA)
    int timeoutMs = Http::defaultTimeoutMs; // a request's bound, or an upload's base, unless it states one

    // The application's own settings: name and version from the application object and the build.
    static HttpSettings forApplication(const QString& buildVersion, const QString& extraCaFile = {});
};

// The engine over Qt Network. Lives on the UI thread; the blocking form makes its own manager on the
// calling worker thread.
class QtHttp : public QObject, public Http {
    Q_OBJECT
public:
    explicit QtHttp(HttpSettings settings, QObject* parent = nullptr);
    ~QtHttp() override;

    void send(HttpRequest request, Handler onCompletion, Handler onError,
              QObject* context = nullptr) override;
    HttpResponse sendBlocking(HttpRequest request) override;

    // Empty unless the extra CA file could not be read; requests then trust only the system's authorities.
    QString caError() const { return caError_; }
    const HttpSettings& settings() const { return settings_; }

private:
    QNetworkReply* start(QNetworkAccessManager& manager, const HttpRequest& request) const;
    int boundMs(const HttpRequest& request) const;
    static HttpResponse responseOf(QNetworkReply* reply, bool timedOut);

    HttpSettings settings_;
    QSslConfiguration ssl_;
    QString caError_;
    QNetworkAccessManager* manager_;
};
