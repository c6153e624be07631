#include "platform/RichTextPage.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

// A licence page at the body cap: the council's table of one licence repeated until the page is 2 MB.
const QString& pageAtTheCap() {
    static const QString html = [] {
        const QString row = QStringLiteral(
            "<tr><td style=\"background:url(http://other.example/bg.png)\">15012345</td>"
            "<td>KEDAI RUNCIT SRI TELUK</td><td>LOT 12, JALAN BESAR</td><td>AKTIF</td></tr>\n");
        QString page = QStringLiteral("<html><body><table border=\"1\">");
        while (page.size() + row.size() < RichTextPage::maxBodyBytes - 32)
            page += row;
        return page + QStringLiteral("</table></body></html>");
    }();
    return html;
}

// Parse and lay out the whole page (done on a worker, off the interface thread).
void BM_LicencePageLayout(benchmark::State& state) {
    for (auto _ : state) {
        auto page = RichTextPage::make(pageAtTheCap(), 328);
        benchmark::DoNotOptimize(page->size());
    }
}
BENCHMARK(BM_LicencePageLayout)->Unit(benchmark::kMillisecond)->Iterations(2);

// Draw one screenful of the laid-out page, as the view does on the interface (render) thread.
void BM_LicencePageScreenful(benchmark::State& state) {
    const auto page = RichTextPage::make(pageAtTheCap(), 328);
    QImage screen(328, 576, QImage::Format_ARGB32_Premultiplied);
    const qreal middle = page->size().height() / 2;
    for (auto _ : state) {
        QPainter painter(&screen);
        painter.translate(0, -middle);
        page->drawContents(&painter, QRectF(0, middle, 328, 576));
    }
}
BENCHMARK(BM_LicencePageScreenful)->Unit(benchmark::kMillisecond);

} // namespace
