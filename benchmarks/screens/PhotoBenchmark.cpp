#include "platform/PhotoLibrary.h"
#include "screens/photos/EvidencePhoto.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

namespace {

// A 12-megapixel phone photograph (4000 x 3000, stored on its side with an orientation mark as a
// portrait shot is): gradients, edges and sensor noise, so the encoder has a photograph's work to do.
const QByteArray& phonePhotograph() {
    static const QByteArray bytes = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, 3000);
        sky.setColorAt(0, QColor(90, 140, 200));
        sky.setColorAt(1, QColor(60, 60, 50));
        p.fillRect(image.rect(), sky);
        QRandomGenerator random(7);
        for (int i = 0; i < 400; ++i)
            p.fillRect(random.bounded(4000), random.bounded(3000), random.bounded(20, 400),
                       random.bounded(20, 300), QColor::fromRgb(random.generate() | 0xff000000u));
        p.end();
        for (int y = 0; y < 3000; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < 4000; ++x) {
                const int n = int(random.bounded(17)) - 8;
                line[x] = qRgb(qBound(0, qRed(line[x]) + n, 255), qBound(0, qGreen(line[x]) + n, 255),
                               qBound(0, qBlue(line[x]) + n, 255));
            }
        }
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 92);
        QByteArray exif("Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06", 26);
        exif += QByteArray(6, '\0');
        const int length = int(exif.size()) + 2;
        return jpeg.left(2) + QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + exif +
               jpeg.mid(2);
    }();
    return bytes;
}

// All the work of one picked photograph: decoded upright, the thumbnail, two JPEG encodes, Base64.
void BM_PickedPhotograph(benchmark::State& state) {
    PickedPhoto picked;
    picked.encoded = phonePhotograph();
    for (auto _ : state) {
        const auto entry = EvidencePhoto::entryFor(picked.decode());
        benchmark::DoNotOptimize(entry);
    }
    state.SetLabel("4000x3000 JPEG, orientation 6");
}
BENCHMARK(BM_PickedPhotograph)->Unit(benchmark::kMillisecond);

// Its parts.
void BM_DecodeUpright(benchmark::State& state) {
    PickedPhoto picked;
    picked.encoded = phonePhotograph();
    for (auto _ : state)
        benchmark::DoNotOptimize(picked.decode());
}
BENCHMARK(BM_DecodeUpright)->Unit(benchmark::kMillisecond);

void BM_Thumbnail(benchmark::State& state) {
    PickedPhoto picked;
    picked.encoded = phonePhotograph();
    const QImage image = picked.decode();
    for (auto _ : state)
        benchmark::DoNotOptimize(EvidencePhoto::imageByScalingAndCroppingForSize(QSize(300, 300), image));
}
BENCHMARK(BM_Thumbnail)->Unit(benchmark::kMillisecond);

void BM_FullJpegAndBase64(benchmark::State& state) {
    PickedPhoto picked;
    picked.encoded = phonePhotograph();
    const QImage image = picked.decode();
    for (auto _ : state)
        benchmark::DoNotOptimize(EvidencePhoto::jpeg(image).toBase64());
}
BENCHMARK(BM_FullJpegAndBase64)->Unit(benchmark::kMillisecond);

} // namespace
