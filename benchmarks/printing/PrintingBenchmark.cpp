#include "printing/NoticeLayout.h"
#include "printing/NoticePrinter.h"
#include "printing/WSEncoder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

const QString kSource = QStringLiteral(KOMPAUN_SOURCE_DIR);

Record load(const char* name) {
    QFile f(kSource + QStringLiteral("/tests/printing/records/") + QLatin1String(name));
    f.open(QIODevice::ReadOnly);
    RecordMap values;
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    for (auto it = o.begin(); it != o.end(); ++it)
        values.insert(it.key(), it.value().toString());
    return makeRecord(values);
}

QString header() {
    return kSource + QStringLiteral("/resources/printheader.bmp");
}

// What a print costs the UI thread: reading the header, converting it, composing every block.
void BM_GeneralNoticeWithHeader(benchmark::State& state) {
    const NoticePrinter printer(header(), QStringLiteral("https://enquiry.mptelukmerbau.gov.my"));
    const Record record = load("general.json");
    for (auto _ : state)
        benchmark::DoNotOptimize(printer.noticeBytes(record, false));
}
BENCHMARK(BM_GeneralNoticeWithHeader)->Unit(benchmark::kMicrosecond);

void BM_TrafficNoticeWithHeader(benchmark::State& state) {
    const NoticePrinter printer(header(), QString());
    const Record record = load("traffic.json");
    for (auto _ : state)
        benchmark::DoNotOptimize(printer.noticeBytes(record, true));
}
BENCHMARK(BM_TrafficNoticeWithHeader)->Unit(benchmark::kMicrosecond);

// The notice blocks alone, with the header already decoded.
void BM_GeneralNoticeDecodedHeader(benchmark::State& state) {
    const QImage image(header());
    const Record record = load("general.json");
    for (auto _ : state)
        benchmark::DoNotOptimize(NoticeLayout::generalNotice(*record, image, QStringLiteral("https://x.my")));
}
BENCHMARK(BM_GeneralNoticeDecodedHeader)->Unit(benchmark::kMicrosecond);

void BM_HeaderRaster(benchmark::State& state) {
    const QImage image(header());
    for (auto _ : state) {
        WSEncoder e;
        e.createPrintableDataFromImage(image, 0, 0, 800, 200);
        benchmark::DoNotOptimize(e.printableData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 800 * 200 * 4);
}
BENCHMARK(BM_HeaderRaster)->Unit(benchmark::kMicrosecond);

// The header's 800 x 200 dots in the forms a picture arrives in: Arg is the QImage format. RGB32 is the
// decoded header's own; RGBA8888 and ARGB32 (straight alpha) are read in place, sixteen dots a step.
void BM_RasterOfForm(benchmark::State& state) {
    const QImage image = QImage(header()).convertToFormat(QImage::Format(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(WSEncoder::rasterize(image));
    state.SetLabel(state.range(0) == QImage::Format_RGB32      ? "RGB32"
                   : state.range(0) == QImage::Format_RGBA8888 ? "RGBA8888"
                                                               : "ARGB32");
}
BENCHMARK(BM_RasterOfForm)
    ->Arg(QImage::Format_RGB32)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_ARGB32)
    ->Unit(benchmark::kMicrosecond);

// The worst straight-alpha picture: every dot at alpha 240, where a light dot may stay white, so every one
// is premultiplied.
void BM_RasterEveryDotPremultiplied(benchmark::State& state) {
    QImage image = QImage(header()).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = (line[x] & 0x00ffffff) | 0xf0000000;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(WSEncoder::rasterize(image));
}
BENCHMARK(BM_RasterEveryDotPremultiplied)->Unit(benchmark::kMicrosecond);

// The same rasters without the hand-written vector instructions, as a processor without SSE2 makes them.
void BM_RasterPortable(benchmark::State& state) {
    const QImage image = QImage(header()).convertToFormat(QImage::Format(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(WSEncoder::rasterizePortable(image));
    state.SetLabel(state.range(0) == QImage::Format_RGB32 ? "RGB32" : "RGBA8888");
}
BENCHMARK(BM_RasterPortable)
    ->Arg(QImage::Format_RGB32)
    ->Arg(QImage::Format_RGBA8888)
    ->Unit(benchmark::kMicrosecond);

// Baseline: a straight-alpha picture converted to premultiplied ARGB first, as the encoder did before.
void BM_RasterOfFormConvertedFirst(benchmark::State& state) {
    const QImage image = QImage(header()).convertToFormat(QImage::Format(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            WSEncoder::rasterize(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
}
BENCHMARK(BM_RasterOfFormConvertedFirst)
    ->Arg(QImage::Format_RGBA8888)
    ->Arg(QImage::Format_ARGB32)
    ->Unit(benchmark::kMicrosecond);

} // namespace
