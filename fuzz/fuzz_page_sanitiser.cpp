// The licence page as rich text: whatever the council's server (or one in its place) sends, the page is
// parsed, laid out and drawn, and every resource it names is refused rather than fetched.
#include "platform/RichTextPage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QImage canvas(328, 64, QImage::Format_RGB32);
    const QString html = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::shared_ptr<RichTextPage> page = RichTextPage::make(html, 328);
    QPainter painter(&canvas);
    page->drawContents(&painter, QRectF(0, 0, 328, 64));
    painter.end();
    if (page->refusedResources() < 0)
        std::abort();
    return 0;
}
