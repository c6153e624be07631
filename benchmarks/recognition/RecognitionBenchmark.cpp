#include "recognition/TesseractReader.h"
#include "recognition/drawn/DrawnPictures.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

TesseractReader& reader() {
    static TesseractReader engine;
    return engine;
}

// From the phone's JPEG to the fields: decoding, preparing and the engine's passes.
template <typename Read> void readJpeg(benchmark::State& state, const QImage& drawn, Read read) {
    const QByteArray bytes = DrawnPictures::jpeg(drawn, 90);
    if (!reader().ready()) {
        state.SkipWithError("no Tesseract data");
        return;
    }
    for (auto _ : state) {
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        benchmark::DoNotOptimize(read(picture));
    }
}

void BM_ReadCard(benchmark::State& state) {
    readJpeg(state, DrawnPictures::card(7).picture, [](const QImage& p) { return reader().readCard(p); });
}
BENCHMARK(BM_ReadCard)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ReadPlate(benchmark::State& state) {
    readJpeg(state, DrawnPictures::plate(7).picture, [](const QImage& p) { return reader().readPlate(p); });
}
BENCHMARK(BM_ReadPlate)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace
