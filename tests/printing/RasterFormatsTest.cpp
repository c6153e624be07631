// The header raster read straight from the picture's own pixel form: every dot decided as it is when the
// picture is first converted to premultiplied ARGB, which is how the printed bytes were made before.
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// Every alpha against every red, with green and blue spread over their range: all the rounding cases of
// premultiplying near the threshold.
QImage everyAlpha() {
    QImage image(256, 256, QImage::Format_ARGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            image.setPixel(x, y, qRgba(x, (x * 7 + y * 3) & 0xff, (x * 13 + y * 5) & 0xff, y));
    return image;
}

// A header-sized picture: light near-white strokes, soft edges and a transparent margin.
QImage header() {
    QImage image(800, 200, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = x < 16 ? 0 : std::min(255, (x - 16) * 8);
            const int level = 200 + ((x / 3 + y) % 56);
            image.setPixel(x, y, qRgba(level, level - (y % 7), level + (x % 5) - 4, alpha));
        }
    return image;
}

TEST(RasterFormatsTest, StraightAndPremultipliedFormsGiveTheBytesOfTheConvertedPicture) {
    for (const QImage& source : {everyAlpha(), header()}) {
        for (const QImage::Format format :
             {QImage::Format_ARGB32, QImage::Format_RGBA8888, QImage::Format_RGBA8888_Premultiplied,
              QImage::Format_RGBX8888, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32,
              QImage::Format_RGB888}) {
            SCOPED_TRACE(int(format));
            const QImage picture = source.convertToFormat(format);
            int bytesPerRow = 0;
            const QByteArray direct = WSEncoder::rasterize(picture, &bytesPerRow);
            const QByteArray converted =
                WSEncoder::rasterize(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
            ASSERT_EQ(bytesPerRow, (source.width() + 7) / 8);
            ASSERT_EQ(direct.size(), converted.size());
            EXPECT_EQ(direct, converted);
            // Neither all white nor all black: the threshold is crossed inside the picture.
            EXPECT_NE(direct.count('\0'), direct.size());
            EXPECT_NE(direct.count('\xff'), direct.size());
        }
    }
}

} // namespace
