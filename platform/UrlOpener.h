#pragma once

#include <QUrl>

// Hands an address to the application that opens it: web pages to the system browser, other schemes to
// whichever application registered them.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openUrl(const QUrl& url) = 0;
    // Whether an application here opens that scheme; web pages always open.
    virtual bool canOpenUrl(const QUrl& url) const {
        return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    }
};
