#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QObject;

// An in-app web page: loads an address with GET and tells how it went, always on the UI thread and never
// once the context given has been destroyed. A view that draws the page itself (a phone's web view)
// passes no text; one that shows it as rich text passes the page's HTML.
class PageView {
public:
    struct Events {
        std::function<void()> started;
        std::function<void(const QString& html)> finished;
        std::function<void(const QString& error)> failed;
        // The page was larger than a rich-text view shows (nothing of it is passed); a view that draws
        // pages itself never calls it.
        std::function<void()> tooLarge;
    };
    virtual ~PageView() = default;
    virtual void load(const QUrl& url, Events events, QObject* context) = 0;
};
