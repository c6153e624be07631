#include "platform/RichTextPage.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
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

// The flat table at the cap asks more layout work than a page may: refused before it is parsed.
void BM_LicencePageLayout(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(RichTextPage::make(pageAtTheCap(), 328));
}
BENCHMARK(BM_LicencePageLayout)->Unit(benchmark::kMillisecond)->Iterations(2);

// Baseline: the same page parsed and laid out whole, as it was shown before.
std::unique_ptr<RichTextPage> laidOutWhole(const QString& html) {
    auto page = std::make_unique<RichTextPage>();
    page->setUndoRedoEnabled(false);
    page->setHtml(html);
    page->setTextWidth(328);
    page->documentLayout()->documentSize();
    return page;
}

void BM_LicencePageLayoutWhole(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(laidOutWhole(pageAtTheCap()));
}
BENCHMARK(BM_LicencePageLayoutWhole)->Unit(benchmark::kMillisecond)->Iterations(2);

QString nestedTables(int depth) {
    QString html;
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("<table border=\"1\"><tr><td>15012345</td><td>");
    html += QStringLiteral("KEDAI RUNCIT SRI TELUK");
    for (int i = 0; i < depth; ++i)
        html += QStringLiteral("</td></tr></table>");
    return html;
}

QString toTheCap(const QString& unit) {
    QString html;
    while (html.size() + unit.size() <= RichTextPage::maxBodyBytes)
        html += unit;
    return html;
}

// Baseline: a page of nested tables laid out as the text engine takes it, without flattening (Arg is
// the depth; every level doubles the work).
void BM_NestedTablesUnflattened(benchmark::State& state) {
    const QString html = nestedTables(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(laidOutWhole(html));
}
BENCHMARK(BM_NestedTablesUnflattened)->Arg(12)->Unit(benchmark::kMillisecond);

// The page as it is shown now: nesting past the depth flattened, a runaway refused unparsed.
void BM_NestedPage(benchmark::State& state) {
    const QString html = state.range(0) == 0   ? nestedTables(12)
                         : state.range(0) == 1 ? nestedTables(40)
                         : state.range(0) == 2 ? toTheCap(nestedTables(40))
                                               : toTheCap(QStringLiteral("<ul><li>KEDAI")) +
                                                     toTheCap(QStringLiteral("</li></ul>")).left(64);
    for (auto _ : state)
        benchmark::DoNotOptimize(RichTextPage::make(html, 328));
    state.SetLabel(state.range(0) == 0   ? "12 nested tables"
                   : state.range(0) == 1 ? "40 nested tables"
                   : state.range(0) == 2 ? "40 nested tables repeated to 2 MB (refused)"
                                         : "lists nested to 2 MB (refused)");
}
BENCHMARK(BM_NestedPage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Draw one screenful of the laid-out page, as the view does on the interface (render) thread.
void BM_LicencePageScreenful(benchmark::State& state) {
    const auto page = laidOutWhole(pageAtTheCap());
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
