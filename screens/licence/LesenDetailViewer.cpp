#include "screens/licence/LesenDetailViewer.h"

#include "core/AppDelegate.h"
#include "platform/Log.h"
#include "platform/PageView.h"
#include "platform/RichTextPage.h"
#include "platform/UrlOpener.h"
#include "sync/LicenceScan.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QThreadPool>

LesenDetailViewer::LesenDetailViewer(QObject* parent) : ScreenController(parent) {}

LesenDetailViewer::~LesenDetailViewer() {
    // A layout still running is given up at its next piece: closing the application waits for no page.
    abandon_->store(true);
}

QObject* LesenDetailViewer::page() const {
    return page_.get();
}

void LesenDetailViewer::setPageWidth(qreal width) {
    if (width <= 0 || qFuzzyCompare(width, pageWidth_))
        return;
    pageWidth_ = width;
    Q_EMIT pageWidthChanged();
}

void LesenDetailViewer::log(const QString& line) const {
    app().platform().log->write(line);
}

void LesenDetailViewer::webViewLesenUrl(const QString& account) {
    if (loaded_)
        return;
    strs_ = account;
    Q_EMIT pageChanged();
}

void LesenDetailViewer::viewWillAppear() {
    if (loaded_)
        return;
    loaded_ = true;
    viewDidLoad();
}

void LesenDetailViewer::viewDidLoad() {
    pageUrl_ = LicenceScan::pageUrl(context().endpoints(), strs_);
    loading_ = true;
    Q_EMIT pageChanged();
    context().pageView().load(
        pageUrl_,
        {[this] { webViewDidStartLoad(); }, [this](const QString& html) { webViewDidFinishLoad(html); },
         [this](const QString& error) { didFailLoadWithError(error); }, [this] { pageTooLarge(); }},
        this);
}

void LesenDetailViewer::webViewDidStartLoad() {
    log(QStringLiteral("Start Load"));
    loading_ = true;
    Q_EMIT pageChanged();
}

void LesenDetailViewer::webViewDidFinishLoad(const QString& html) {
    log(QStringLiteral("Load done"));
    if (html.size() > RichTextPage::maxBodyBytes) {
        pageTooLarge();
        return;
    }
    // Parsing and layout take seconds for a large page: done on a worker while the indicator spins, so a
    // tap (back, "Buka di Pelayar") is answered at once. The page comes back to this thread to be drawn.
    QPointer<LesenDetailViewer> self(this);
    QThread* ui = thread();
    const qreal width = pageWidth_;
    QThreadPool::globalInstance()->start([self, ui, html, width, abandon = abandon_] {
        bool overBudget = false;
        std::shared_ptr<RichTextPage> page =
            RichTextPage::make(html, width, abandon.get(), RichTextPage::layoutBudgetMs, &overBudget);
        if (page)
            page->moveToThread(ui);
        // The last hold on the page is the interface thread's, where it now lives.
        auto deliver = [self, page = std::move(page), overBudget] {
            if (!self)
                return;
            if (page)
                self->showPage(page);
            else if (overBudget)
                self->pageTooLarge();
        };
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(deliver), Qt::QueuedConnection);
    });
}

void LesenDetailViewer::showPage(std::shared_ptr<RichTextPage> page) {
    page_ = std::move(page);
    pageText_ = page_->toPlainText();
    loading_ = false;
    failed_ = false;
    Q_EMIT pageChanged();
}

void LesenDetailViewer::showNothing(const char* why) {
    // The officer sees why the page stays empty, and the indicator no longer spins (still no alert).
    loading_ = false;
    failed_ = true;
    page_.reset();
    pageText_ = QString::fromLatin1(why);
    Q_EMIT pageChanged();
}

void LesenDetailViewer::didFailLoadWithError(const QString&) {
    log(QString::fromLatin1(failureText));
    showNothing(failureText);
}

void LesenDetailViewer::pageTooLarge() {
    // "Buka di Pelayar" stays: the browser can show what this view will not.
    log(QString::fromLatin1(tooLargeText));
    showNothing(tooLargeText);
}

bool LesenDetailViewer::bukaDiPelayar() {
    if (!pageUrl_.isValid() || pageUrl_.isEmpty())
        return false;
    return context().urlOpener().openUrl(pageUrl_);
}
