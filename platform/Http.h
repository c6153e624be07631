#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <functional>

class QObject;

struct HttpRequest {
    QByteArray method = "GET";
    QUrl url;
    // Headers the caller sets, in order; the engine adds "User-Agent" and "Accept-Language".
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // Every request is bounded from its start to the last byte of its reply, and is never cut short on
    // silence alone: a phone's send buffer takes a whole photograph in at once, after which nothing seems
    // to move until the council answers, however slowly the bytes are really crossing.
    //   Fixed:  the bound is timeoutMs.
    //   Upload: timeoutMs plus the body's time at uploadFloorBytesPerSecond, and at least twice timeoutMs,
    //           so a large body on a weak link still arrives (30 s base: 1 MB may take 158 s).
    enum class Bound { Fixed, Upload };
    static constexpr qint64 uploadFloorBytesPerSecond = 8 * 1024;
    Bound bound = Bound::Fixed;
    int timeoutMs = 0; // the bound, or the upload's base; 0: the engine's default
    // How much of the body has gone (bytes sent, bytes in all), on the thread that waits for the reply.
    std::function<void(qint64 sent, qint64 total)> onUploadProgress;
    // Blocking form only: once this reads true the request is given up within about a tenth of a
    // second, so a long upload does not hold an application that is closing.
    const std::atomic<bool>* abandon = nullptr;

    // The bound in milliseconds, with baseMs standing for a timeoutMs of 0.
    qint64 boundMs(int baseMs) const {
        const qint64 base = timeoutMs > 0 ? timeoutMs : baseMs;
        if (bound == Bound::Fixed)
            return base;
        return std::max(2 * base, base + qint64(body.size()) * 1000 / uploadFloorBytesPerSecond);
    }
};

struct HttpResponse {
    enum class Outcome { Success, HttpError, ConnectionFailed, TimedOut };
    Outcome outcome = Outcome::ConnectionFailed;
    int status = 0; // 0 when no status line arrived
    QByteArray body;
    QString errorText;
    bool succeeded() const { return outcome == Outcome::Success; }
};

// The HTTP(S) engine: one request at a time from the caller's point of view, TLS always verified.
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
    // Blocks the calling worker thread until the reply or the request's bound. Refused on the UI thread.
    virtual HttpResponse sendBlocking(HttpRequest request) = 0;
};
