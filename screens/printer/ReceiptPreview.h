#pragma once

#include <QQuickImageProvider>

class AppDelegate;
class NoticePrinter;

// The in-app print preview: draws what the printer would print, from the very bytes it would be sent.
// "image://receipt/notice/<n>" is the notice of the compound in view (traffic or general as its record
// says), "image://receipt/test-page/<n>" the printer's test page; <n> only defeats the image cache.
class ReceiptPreview : public QQuickImageProvider {
public:
    ReceiptPreview(AppDelegate& app, const NoticePrinter& printer);
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

private:
    AppDelegate& app_;
    const NoticePrinter& printer_;
};
