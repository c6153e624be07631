#include "screens/LesenDetailViewer.h"

#include "core/AppDelegate.h"
#include "platform/Log.h"
#include "platform/PageView.h"
#include "platform/UrlOpener.h"
#include "sync/LicenceScan.h"

#include <QRegularExpression>

LesenDetailViewer::LesenDetailViewer(QObject* parent) : ScreenController(parent) {}

void LesenDetailViewer::log(const QString& line) const {
    if (context_ && context_->app() && context_->app()->platform().log)
        context_->app()->platform().log->write(line);
}

void LesenDetailViewer::webViewLesenUrl(const QString& account) {
    if (loaded_)
        return;
    strs_ = account;
    Q_EMIT pageChanged();
}

void LesenDetailViewer::viewWillAppear() {
    if (!context_ || loaded_)
        return;
    loaded_ = true;
    viewDidLoad();
}

void LesenDetailViewer::viewDidLoad() {
    if (context_->endpoints())
        pageUrl_ = LicenceScan::pageUrl(*context_->endpoints(), strs_);
    loading_ = true;
    Q_EMIT pageChanged();
    PageView* view = context_->pageView();
    if (!view)
        return;
    view->load(pageUrl_,
               {[this] { webViewDidStartLoad(); },
                [this](const QString& html) { webViewDidFinishLoad(html); },
                [this](const QString& error) { didFailLoadWithError(error); }},
               this);
}

void LesenDetailViewer::webViewDidStartLoad() {
    log(QStringLiteral("Start Load"));
    loading_ = true;
    Q_EMIT pageChanged();
}

void LesenDetailViewer::webViewDidFinishLoad(const QString& html) {
    log(QStringLiteral("Load done"));
    loading_ = false;
    failed_ = false;
    // Pictures would be fetched by the text view itself, past the application's HTTP engine: left out.
    static const QRegularExpression images(QStringLiteral("<img\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    pageText_ = QString(html).remove(images);
    Q_EMIT pageChanged();
}

void LesenDetailViewer::didFailLoadWithError(const QString&) {
    log(QString::fromLatin1(failureText));
    // The officer sees why the page stays empty, and the indicator no longer spins (still no alert).
    loading_ = false;
    failed_ = true;
    pageText_ = QString::fromLatin1(failureText);
    Q_EMIT pageChanged();
}

bool LesenDetailViewer::bukaDiPelayar() {
    if (!context_ || !context_->urlOpener() || !pageUrl_.isValid() || pageUrl_.isEmpty())
        return false;
    return context_->urlOpener()->openUrl(pageUrl_);
}
