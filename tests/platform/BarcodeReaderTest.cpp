#include "platform/BarcodeDecoder.h"
#include "platform/QtBarcodeReader.h"
#include "support/BarcodePictures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>
#include <QVideoFrame>
#include <QVideoFrameFormat>

using namespace barcodepictures;

TEST(BarcodeDecoder, ReadsTheQrCodeOfALicenceAndTheCode128OfABillAtDensityThree) {
    // A licence's QR code and a bill's Code 128 read from pictures are walked through the window (the
    // walkthrough). In a whole camera frame, among the desk's texture; nothing in an empty frame.
    BarcodeDecoder decoder;
    EXPECT_EQ(decoder.decode(cameraFrame(code128(QStringLiteral("0598765"), 2))),
              QStringList{QStringLiteral("0598765")});
    EXPECT_TRUE(decoder.decode(cameraFrame()).isEmpty());
    // Rows padded beyond the width are read as the picture, not as the padding.
    const QImage qr = qrCode(QStringLiteral("ABC*151*X"), 4);
    QByteArray padded(qsizetype(qr.height()) * (qr.width() + 13), char(0x55));
    for (int y = 0; y < qr.height(); ++y)
        memcpy(padded.data() + y * (qr.width() + 13), qr.constScanLine(y), size_t(qr.width()));
    EXPECT_EQ(decoder.decode(reinterpret_cast<const uchar*>(padded.constData()), qr.width(), qr.height(),
                             qr.width() + 13),
              QStringList{QStringLiteral("ABC*151*X")});
    EXPECT_TRUE(decoder.decode(nullptr, 10, 10, 10).isEmpty());
    EXPECT_TRUE(decoder.decode(QImage()).isEmpty());
}

TEST(BarcodeDecoder, CameraFramesGiveTheirLumaPlaneAsTheGreyPicture) {
    // An NV12 frame: the Y plane is the picture; the chroma plane must not leak into it.
    const QImage qr = qrCode(QStringLiteral("15ABC"), 4);
    const int w = qr.width() + (qr.width() % 2), h = qr.height() + (qr.height() % 2);
    QVideoFrame frame(QVideoFrameFormat(QSize(w, h), QVideoFrameFormat::Format_NV12));
    ASSERT_TRUE(frame.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < h; ++y) {
        uchar* line = frame.bits(0) + y * frame.bytesPerLine(0);
        memset(line, 255, size_t(w));
        if (y < qr.height())
            memcpy(line, qr.constScanLine(y), size_t(qr.width()));
    }
    memset(frame.bits(1), 0, size_t(frame.mappedBytes(1)));
    frame.unmap();
    const QImage grey = QtBarcodeReader::greyOf(frame);
    ASSERT_EQ(grey.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(grey.size(), QSize(w, h));
    BarcodeDecoder decoder;
    EXPECT_EQ(decoder.decode(grey), QStringList{QStringLiteral("15ABC")});
}

class PictureReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            qrCode(QStringLiteral("MPT*15012345*2024")).save(dir.filePath(QStringLiteral("lesen.png"))));
        reader.setDelegate(&context, [this](const QStringList& symbols) {
            EXPECT_EQ(QThread::currentThread(), context.thread()) << "delivered off the UI thread";
            delivered.append(symbols);
        });
    }
    QTemporaryDir dir;
    QObject context;
    QtBarcodeReader reader;
    QList<QStringList> delivered;
};

// A good picture decoded and delivered is walked through the window (the walkthrough's scan tab).
TEST_F(PictureReaderTest, APictureThatIsNoneOrMissingIsAnEmptyDeliveryOnTheUiThread) {
    reader.start();
    testsupport::writeFile(dir.filePath(QStringLiteral("rosak.png")), "not a picture");
    reader.readPicture(dir.filePath(QStringLiteral("rosak.png")));
    reader.readPicture(dir.filePath(QStringLiteral("tiada.png")));
    ASSERT_TRUE(testsupport::waitFor([&] { return delivered.size() == 2; }));
    EXPECT_TRUE(delivered[0].isEmpty());
    EXPECT_TRUE(delivered[1].isEmpty());
}

TEST_F(PictureReaderTest, WhatIsDecodedAfterAStopOrForADelegateThatIsGoneIsNeverDelivered) {
    reader.start();
    reader.readPicture(dir.filePath(QStringLiteral("lesen.png")));
    // Left at once: the decode already under way finishes but must reach nobody, even after a new start.
    reader.stop();
    reader.start();
    reader.readPicture(dir.filePath(QStringLiteral("tiada.png")));
    ASSERT_TRUE(testsupport::waitFor([&] { return !delivered.isEmpty(); }));
    ASSERT_EQ(delivered.size(), 1);
    EXPECT_TRUE(delivered.first().isEmpty()) << "the old picture's symbols were delivered";

    // Stopped: a picture is not even read.
    reader.stop();
    reader.readPicture(dir.filePath(QStringLiteral("lesen.png")));
    reader.start();
    reader.readPicture(dir.filePath(QStringLiteral("tiada.png")));
    ASSERT_TRUE(testsupport::waitFor([&] { return delivered.size() == 2; }));
    EXPECT_TRUE(delivered[1].isEmpty());

    // A delegate gone while its picture is read; one set after shows the delivery reached only the live one.
    auto gone = std::make_unique<QObject>();
    bool called = false;
    reader.setDelegate(gone.get(), [&](const QStringList&) { called = true; });
    reader.readPicture(dir.filePath(QStringLiteral("lesen.png")));
    gone.reset();
    QObject later;
    QStringList got;
    bool done = false;
    reader.setDelegate(&later, [&](const QStringList& s) {
        got = s;
        done = true;
    });
    ASSERT_TRUE(testsupport::waitFor([&] { return done; }));
    EXPECT_FALSE(called);
    EXPECT_EQ(got, QStringList{QStringLiteral("MPT*15012345*2024")});
}
