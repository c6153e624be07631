#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QObject;

struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    // Headers the caller sets, in order; the engine adds "User-Agent" and "Accept-Language".
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    int timeoutMs = 0; // 0: the engine's default
    // A reply body larger than this is not read: the request is ended and tooLarge set. 0: no cap.
    qint64 maxBodyBytes = 0;
};

struct HttpResponse {
    enum class Outcome { Success, HttpError, ConnectionFailed, TimedOut };
    Outcome outcome = Outcome::ConnectionFailed;
    int status = 0; // 0 when no status line arrived
    QByteArray body;
    QString errorText;
    bool tooLarge = false; // the body passed the request's cap; nothing of it is kept
    bool succeeded() const { return outcome == Outcome::Success; }
};

// The HTTP(S) engine: one request at a time from the caller's point of view, TLS always verified. A
// redirect is followed only within the request's own scheme, host and port; another is refused (a
// failed request with the redirect's 3xx status).
class Http {
public:
    using Handler = std::function<void(const HttpResponse&)>;
    static constexpr int defaultTimeoutMs = 30000;

    virtual ~Http() = default;
    // Starts the request and returns at once. onCompletion runs for a 2xx status; onError for a failed
    // connection, a time-out or any other status. Both run on the UI thread, and neither runs once
    // context (when given) has been destroyed. Callable from any thread.
    virtual void send(HttpRequest request, Handler onCompletion, Handler onError,
                      QObject* context = nullptr) = 0;
    // Blocks the calling worker thread until the reply or the time-out. Refused on the UI thread.
    virtual HttpResponse sendBlocking(HttpRequest request) = 0;
};
