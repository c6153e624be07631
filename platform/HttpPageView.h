#pragma once

#include "platform/PageView.h"

class Http;

// The desktop's page view: Qt WebEngine does not render on these machines, so the page is fetched through
// the application's HTTP engine (TLS verified, the configured authority) and handed over as HTML for a
// rich-text view. As a browser would, a server's own error page is shown like any page; a load fails
// when nothing arrives to show (no connection, a time-out, an error status without a page, a redirect off
// the council's scheme, host and port). A body over the page's cap is not read: the view is told it is
// too large.
class HttpPageView : public PageView {
public:
    explicit HttpPageView(Http& http) : http_(http) {}
    void load(const QUrl& url, Events events, QObject* context) override;

private:
    Http& http_;
};
