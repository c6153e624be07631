// The header raster read straight from the picture's own pixel form: every dot decided as it is when the
// picture is first converted to premultiplied ARGB, which is how the printed bytes were made before.
#include "printing/WSEncoder.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstring>
#include <random>

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

// Every near-white colour under every alpha that can leave it white (234 and more), and the alphas either
// side: where one rounding step of premultiplying turns a dot black.
QImage nearWhite() {
    QImage image(64, 23 * 64 * 64, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(192 + y % 64, 192 + y / 64 % 64, 192 + x, 233 + y / 4096));
    return image;
}

TEST(RasterFormatsTest, StraightAndPremultipliedFormsGiveTheBytesOfTheConvertedPicture) {
    for (const QImage& source : {everyAlpha(), nearWhite(), header()}) {
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
            EXPECT_EQ(WSEncoder::rasterizePortable(picture), converted);
            // Neither all white nor all black: the threshold is crossed inside the picture.
            EXPECT_NE(direct.count('\0'), direct.size());
            EXPECT_NE(direct.count('\xff'), direct.size());
        }
    }
}

// Raw pixel words as they may arrive, valid or not for the form: nothing drawn, colour under zero alpha
// (and an RGB32 alpha byte that is not 0xff), alphas either side of 234, the least that leaves white white.
quint32 anyColour(std::mt19937& random) {
    const auto byte = [&](int from, int to) {
        return quint32(std::uniform_int_distribution(from, to)(random));
    };
    switch (byte(0, 7)) {
    case 0:
        return 0;
    case 1:
        return byte(0, 255) << 16 | byte(0, 255) << 8 | byte(0, 255);
    case 2:
        return byte(0, 255) << 24 | byte(0, 255) << 16 | byte(0, 255) << 8 | byte(0, 255);
    default: {
        const quint32 alphas[] = {255, 254, 234, 233, byte(225, 255)};
        const auto light = [&] { return byte(0, 1) ? 255 : byte(200, 255); };
        return alphas[byte(0, 4)] << 24 | light() << 16 | light() << 8 | light();
    }
    }
}

// Without soft edges no alpha lies in 234..254: the groups the vector path decides without premultiplying.
quint32 anyDot(std::mt19937& random, bool softEdges) {
    const quint32 dot = anyColour(random);
    const quint32 alpha = dot >> 24;
    return softEdges || alpha < 234 ? dot : dot | 0xff000000;
}

TEST(RasterFormatsTest, VectorPathGivesThePortableBytesForEveryWidthAndForm) {
    std::mt19937 random(20261207);
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
          QImage::Format_RGBA8888, QImage::Format_RGBA8888_Premultiplied, QImage::Format_RGBX8888,
          QImage::Format_RGB888}) {
        qsizetype black = 0;
        qsizetype white = 0;
        for (int width = 1; width <= 67; ++width) {
            SCOPED_TRACE(testing::Message() << "format " << int(format) << ", width " << width);
            QImage picture(width, 4, format);
            for (int y = 0; y < picture.height(); ++y) {
                uchar* line = picture.scanLine(y);
                const qsizetype bytes = qsizetype(width) * picture.depth() / 8;
                for (qsizetype i = 0; i < bytes; i += 4) {
                    const quint32 dot = anyDot(random, y < 2);
                    std::memcpy(line + i, &dot, size_t(std::min<qsizetype>(4, bytes - i)));
                }
            }
            const QByteArray vector = WSEncoder::rasterize(picture);
            ASSERT_EQ(vector, WSEncoder::rasterizePortable(picture));
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < width; ++x)
                    ++(vector.at(y * ((width + 7) / 8) + x / 8) & (0x80 >> (x % 8)) ? black : white);
        }
        EXPECT_GT(black, 1000) << int(format);
        EXPECT_GT(white, 1000) << int(format);
    }
}

} // namespace
