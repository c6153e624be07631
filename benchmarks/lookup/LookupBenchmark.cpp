// What the scan tab and the map page cost: zbar over one camera frame (the frame rate the reader can
// keep), and one map view (its tile layout, and the drawing of its tiles into the view).
#include "platform/BarcodeDecoder.h"
#include "screens/ScreenServices.h"
#include "screens/map/MapViewController.h"
#include "support/BarcodePictures.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

void decodeFrame(benchmark::State& state, const QImage& frame, int expected) {
    BarcodeDecoder decoder;
    for (auto _ : state) {
        const QStringList symbols =
            decoder.decode(frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine());
        if (symbols.size() != expected)
            state.SkipWithError("unexpected symbols");
        benchmark::DoNotOptimize(symbols);
    }
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DecodeFrameWithoutBarcode(benchmark::State& state) {
    decodeFrame(state, barcodepictures::cameraFrame(), 0);
}
BENCHMARK(BM_DecodeFrameWithoutBarcode)->Unit(benchmark::kMillisecond);

void BM_DecodeFrameWithLicenceQr(benchmark::State& state) {
    decodeFrame(state,
                barcodepictures::cameraFrame(barcodepictures::qrCode(QStringLiteral("MPT*15012345*2025"), 6)),
                1);
}
BENCHMARK(BM_DecodeFrameWithLicenceQr)->Unit(benchmark::kMillisecond);

void BM_DecodeFrameWithBillCode128(benchmark::State& state) {
    decodeFrame(state,
                barcodepictures::cameraFrame(barcodepictures::code128(QStringLiteral("0512345678"), 3)), 1);
}
BENCHMARK(BM_DecodeFrameWithBillCode128)->Unit(benchmark::kMillisecond);

// The map as the location form opens it, on a phone's view, at the council's offices.
struct OpenMap {
    OpenMap() {
        map.setContext(&context);
        map.initContactUsTemplateDictionary({{QStringLiteral("lat"), QStringLiteral("3.073800")},
                                             {QStringLiteral("long"), QStringLiteral("101.518300")}});
        map.setViewSize(360, 526);
        map.viewWillAppear();
    }
    const QString resources = QStringLiteral(KOMPAUN_SOURCE_DIR "/resources");
    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), resources};
    AppDelegate core{fakes.platform()};
    ScreenServices services{core, fakes, resources};
    AppContext context{services.services()};
    MapViewController map;
};

// A finger's pan: the view's cells laid out again.
void BM_MapViewLayout(benchmark::State& state) {
    OpenMap open;
    MapViewController& map = open.map;
    double step = 3;
    for (auto _ : state) {
        map.panBy(step, -step);
        step = -step;
        benchmark::DoNotOptimize(map.tiles()->cells());
    }
}
BENCHMARK(BM_MapViewLayout);

// One whole map view drawn from its tiles, as the scene graph's software path would.
void BM_MapViewDraw(benchmark::State& state) {
    OpenMap open;
    MapViewController& map = open.map;
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(QColor(236, 232, 220));
    QImage view(360, 526, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&view);
        painter.fillRect(view.rect(), QColor(0xee, 0xf0, 0xf3));
        for (const MapTileModel::Cell& cell : map.tiles()->cells()) {
            painter.drawImage(cell.topLeft, tile);
            painter.setPen(QColor(0xcf, 0xd5, 0xde));
            painter.drawRect(QRectF(cell.topLeft, QSizeF(256, 256)));
        }
        painter.setBrush(QColor(0xdc, 0x26, 0x26));
        painter.drawEllipse(QPointF(map.pinX(), map.pinY() - 37), 15, 15);
        painter.end();
        benchmark::DoNotOptimize(view.constBits());
    }
}
BENCHMARK(BM_MapViewDraw);

} // namespace
