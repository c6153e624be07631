#include "recognition/TesseractReader.h"
#include "recognition/drawn/DrawnPictures.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

TesseractReader& reader() {
    static TesseractReader engine;
    return engine;
}

// From the phone's JPEG to the card's fields: decoding, preparing and the engine's passes.
void BM_ReadCard(benchmark::State& state) {
    const QByteArray bytes = DrawnPictures::jpeg(DrawnPictures::card(7).picture, 90);
    if (!reader().ready()) {
        state.SkipWithError("no Tesseract data");
        return;
    }
    for (auto _ : state) {
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        benchmark::DoNotOptimize(reader().readCard(picture));
    }
}
BENCHMARK(BM_ReadCard)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ReadPlate(benchmark::State& state) {
    const QByteArray bytes = DrawnPictures::jpeg(DrawnPictures::plate(7).picture, 90);
    if (!reader().ready()) {
        state.SkipWithError("no Tesseract data");
        return;
    }
    for (auto _ : state) {
        QImage picture;
        picture.loadFromData(bytes, "JPEG");
        benchmark::DoNotOptimize(reader().readPlate(picture));
    }
}
BENCHMARK(BM_ReadPlate)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace
