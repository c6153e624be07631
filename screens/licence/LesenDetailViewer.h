#pragma once

#include "screens/shell/AppContext.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <atomic>
#include <memory>

class RichTextPage;

// The council's own page for a licence or an assessment-tax account, shown in the application. An
// account beginning with "05" is a tax account (page "mc"), any other a licence (page "ml").
class LesenDetailViewer : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString strs READ strs NOTIFY pageChanged)
    Q_PROPERTY(bool loading READ loading NOTIFY pageChanged)
    Q_PROPERTY(bool failed READ failed NOTIFY pageChanged)
    Q_PROPERTY(QString pageText READ pageText NOTIFY pageChanged)
    Q_PROPERTY(QUrl pageUrl READ pageUrl NOTIFY pageChanged)
    Q_PROPERTY(bool hasAddress READ hasAddress NOTIFY pageChanged)
    Q_PROPERTY(QObject* page READ page NOTIFY pageChanged)
    Q_PROPERTY(qreal pageWidth READ pageWidth WRITE setPageWidth NOTIFY pageWidthChanged)
public:
    static constexpr char failureText[] = "Nombor akaun tidak dapat dicari";
    static constexpr char tooLargeText[] = "Maklumat terlalu besar untuk dipaparkan";

    explicit LesenDetailViewer(QObject* parent = nullptr);
    ~LesenDetailViewer() override;

    QString strs() const { return strs_; }
    bool loading() const { return loading_; }
    bool failed() const { return failed_; }
    // The page's text as the officer reads it; why nothing is shown when it failed or was too large.
    QString pageText() const { return pageText_; }
    // The page laid out for drawing (a RichTextPage, which reaches no host); none until it is ready.
    QObject* page() const;
    RichTextPage* richTextPage() const { return page_.get(); }
    // The width the page is laid out at, the view's text width.
    qreal pageWidth() const { return pageWidth_; }
    void setPageWidth(qreal width);
    QUrl pageUrl() const { return pageUrl_; }
    bool hasAddress() const { return pageUrl_.isValid() && !pageUrl_.isEmpty(); }

    // The account to show (`webViewLesenUrl:`), before the screen loads.
    Q_INVOKABLE void webViewLesenUrl(const QString& account);
    // The screen comes to show; the first time it loads the page.
    Q_INVOKABLE void viewWillAppear();
    // "Buka di Pelayar": the same page in the system browser.
    Q_INVOKABLE bool bukaDiPelayar();

    // The page view's events.
    void webViewDidStartLoad();
    void webViewDidFinishLoad(const QString& html);
    void didFailLoadWithError(const QString& error);
    void pageTooLarge();

Q_SIGNALS:
    void pageChanged();
    void pageWidthChanged();

private:
    void viewDidLoad();
    void log(const QString& line) const;
    void showPage(std::shared_ptr<RichTextPage> page);
    void showNothing(const char* why);

    QString strs_;
    QUrl pageUrl_;
    QString pageText_;
    bool loading_ = false;
    bool failed_ = false;
    bool loaded_ = false;
    qreal pageWidth_ = 328;
    std::shared_ptr<RichTextPage> page_;
    // Set when the screen goes: a page still being laid out for it is given up.
    std::shared_ptr<std::atomic<bool>> abandon_ = std::make_shared<std::atomic<bool>>(false);
};
