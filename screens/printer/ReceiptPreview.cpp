#include "screens/printer/ReceiptPreview.h"

#include "core/AppDelegate.h"
#include "core/RecordKeys.h"
#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/ReceiptRenderer.h"

ReceiptPreview::ReceiptPreview(AppDelegate& app, const NoticePrinter& printer)
    : QQuickImageProvider(QQuickImageProvider::Image), app_(app), printer_(printer) {}

QImage ReceiptPreview::requestImage(const QString& id, QSize* size, const QSize& requestedSize) {
    QByteArray bytes;
    if (id.startsWith(QLatin1String("notice"))) {
        const Record record = app_.getDictionary();
        // A stored compound says what it is; the one being issued follows the traffic flag.
        const bool traffic = app_.getPreviewIndcator()
                                 ? record->value(Key::isLaluLintas) == QLatin1String("YA")
                                 : app_.getLaluLintas();
        bytes = printer_.noticeBytes(record, traffic);
    } else {
        for (const QByteArray& block : NoticeLayout::samplePage(printer_.header(), printer_.baseUrl()))
            bytes += block;
    }
    QImage image = ReceiptRenderer::render(bytes);
    if (requestedSize.width() > 0 && image.width() > requestedSize.width())
        image = image.scaledToWidth(requestedSize.width(), Qt::SmoothTransformation);
    if (size)
        *size = image.size();
    return image;
}
