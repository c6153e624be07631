#include "platform/HttpPageView.h"

#include "platform/Http.h"
#include "platform/RichTextPage.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

void HttpPageView::load(const QUrl& url, Events events, QObject* context) {
    auto shared = std::make_shared<Events>(std::move(events));
    if (shared->started)
        shared->started();
    if (!url.isValid() || url.isEmpty()) {
        // Reported as the web view would: after the start, on the next turn of the event loop.
        QPointer<QObject> guard(context);
        const bool hadContext = context != nullptr;
        QTimer::singleShot(0, [shared, guard, hadContext] {
            if ((hadContext && !guard) || !shared->failed)
                return;
            shared->failed(QStringLiteral("invalid address"));
        });
        return;
    }
    HttpRequest request;
    request.url = url;
    request.maxBodyBytes = RichTextPage::maxBodyBytes;
    request.headers.append(
        qMakePair(QByteArray("Accept"), QByteArray("text/html,application/xhtml+xml,*/*;q=0.8")));
    http_.send(
        request,
        [shared](const HttpResponse& response) {
            if (shared->finished)
                shared->finished(QString::fromUtf8(response.body));
        },
        [shared](const HttpResponse& response) {
            if (response.tooLarge && shared->tooLarge) {
                shared->tooLarge();
                return;
            }
            // A redirect the engine refused (off the council's origin) is no page of the council's.
            const bool redirect = response.status >= 300 && response.status < 400;
            if (response.outcome == HttpResponse::Outcome::HttpError && !redirect &&
                !response.body.trimmed().isEmpty()) {
                if (shared->finished)
                    shared->finished(QString::fromUtf8(response.body));
                return;
            }
            if (shared->failed)
                shared->failed(response.errorText.isEmpty() ? QStringLiteral("HTTP %1").arg(response.status)
                                                            : response.errorText);
        },
        context);
}
