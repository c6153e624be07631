#include "platform/PhotoLibrary.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

// A colour JPEG of any size, red above and blue below, written a row at a time: a 200-megapixel
// photograph costs the test one row of memory.
QByteArray streamedJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> red(size_t(width) * 3), blue(size_t(width) * 3);
    for (int x = 0; x < width; ++x) {
        red[size_t(x) * 3] = 255;
        blue[size_t(x) * 3 + 2] = 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = info.next_scanline < JDIMENSION(height / 2) ? red.data() : blue.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    jpeg_destroy_compress(&info);
    free(out);
    return bytes;
}

QImage decoded(const QByteArray& bytes, PickedPhoto::Failure* failure) {
    PickedPhoto photo;
    photo.encoded = bytes;
    return photo.decode(failure);
}

} // namespace

// Today's phones take 50 to 200 megapixels: each is kept at no more than the kept size, decoded within
// the reader's allocation limit, upright and with its colours where they were.
TEST(PhotoDecode, LargePhotographsAreKeptAtTheKeptSize) {
    for (const QSize& size :
         {QSize(8160, 6120), QSize(16320, 12240), QSize(12000, 9000), QSize(4000, 3000)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        PickedPhoto::Failure failure = PickedPhoto::Failure::Unreadable;
        const QImage image = decoded(streamedJpeg(size.width(), size.height()), &failure);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(failure, PickedPhoto::Failure::None);
        EXPECT_LE(qint64(image.width()) * image.height(), PickedPhoto::keptPixels);
        // At least half the kept size, its shape kept.
        EXPECT_GE(qint64(image.width()) * image.height() * 2,
                  qMin<qint64>(PickedPhoto::keptPixels, qint64(size.width()) * size.height()));
        EXPECT_NEAR(double(image.width()) / image.height(), double(size.width()) / size.height(), 0.01);
        EXPECT_GT(qRed(image.pixel(image.width() / 2, image.height() / 4)), 200);
        EXPECT_GT(qBlue(image.pixel(image.width() / 2, image.height() * 3 / 4)), 200);
    }
    // A picture the camera already decoded is shrunk the same way.
    PickedPhoto camera;
    camera.image = QImage(6000, 4000, QImage::Format_RGB32);
    camera.image.fill(Qt::green);
    const QImage kept = camera.decode();
    EXPECT_LE(qint64(kept.width()) * kept.height(), PickedPhoto::keptPixels);
    EXPECT_NEAR(double(kept.width()) / kept.height(), 1.5, 0.01);
}

// A file cut short and one whose header claims a size no phone takes are refused, each with
// its reason, and nothing is decoded for them.
TEST(PhotoDecode, CutShortEmptyAndBombPicturesAreRefused) {
    const QByteArray whole = streamedJpeg(640, 480);
    PickedPhoto::Failure failure = PickedPhoto::Failure::None;
    ASSERT_FALSE(decoded(whole, &failure).isNull());
    EXPECT_TRUE(PickedPhoto::jpegIsComplete(whole));
    // Trailing bytes after the end marker (some cameras add them) do no harm.
    EXPECT_TRUE(PickedPhoto::jpegIsComplete(whole + QByteArray(100, '\0')));

    for (const double kept : {0.98, 0.6, 0.3}) {
        SCOPED_TRACE(kept);
        const QByteArray cut = whole.left(qsizetype(whole.size() * kept));
        EXPECT_TRUE(decoded(cut, &failure).isNull());
        EXPECT_EQ(failure, PickedPhoto::Failure::Truncated);
    }
    // Cut inside its headers: not even its size can be read.
    EXPECT_TRUE(decoded(whole.left(40), &failure).isNull());
    EXPECT_EQ(failure, PickedPhoto::Failure::Unreadable);
    EXPECT_TRUE(decoded(whole.left(whole.size() - 2), &failure).isNull()) << "only the end marker missing";
    EXPECT_EQ(failure, PickedPhoto::Failure::Truncated);
    // Empty and not-a-picture files are refused through the photo screen (PhotoPickingTest).

    // The frame header of a small file rewritten to claim 65,000 x 65,000 pixels.
    QByteArray bomb = whole;
    const qsizetype frame = bomb.indexOf(QByteArray::fromHex("ffc0"));
    ASSERT_GT(frame, 0);
    for (int at : {5, 7}) {
        bomb[frame + at] = char(0xfd);
        bomb[frame + at + 1] = char(0xe8);
    }
    EXPECT_TRUE(decoded(bomb, &failure).isNull());
    EXPECT_EQ(failure, PickedPhoto::Failure::TooLarge);
}
