#include "Walkthrough.h"
#include "recognition/drawn/DrawnPictures.h"
#include "support/BarcodePictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QPainter>

namespace {

// The drawn card and plate the walkthrough reads (the seeds of DrawnPictures).
constexpr quint32 walkthroughCard = 1019;
constexpr quint32 walkthroughPlate = 1003;

// A phone's JPEG with its orientation mark: an Exif block whose one entry is the orientation.
QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("MM\0*\0\0\0\x08", 8);          // big-endian TIFF header, first directory at 8
    exif += QByteArray("\0\x01", 2);                   // one entry
    exif += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, SHORT, one value
    exif += char(orientation >> 8);
    exif += char(orientation & 0xff);
    exif += QByteArray("\0\0\0\0\0\0", 6); // padding, no next directory
    QByteArray segment("\xff\xe1", 2);
    const int length = int(exif.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xff);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

// A scene with a band of its own colour in each third and their names, so that a thumbnail shows which
// part of the picture it was cut from.
QImage scene(int width, int height, const QString& caption, bool bandsAcross) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    const QColor colours[3] = {QColor(0xc0, 0x39, 0x2b), QColor(0x27, 0xae, 0x60), QColor(0x29, 0x80, 0xb9)};
    const QString names[3] = {bandsAcross ? QStringLiteral("ATAS") : QStringLiteral("KIRI"),
                              QStringLiteral("TENGAH"),
                              bandsAcross ? QStringLiteral("BAWAH") : QStringLiteral("KANAN")};
    QFont font = p.font();
    font.setPixelSize(qMin(width, height) / 9);
    font.setBold(true);
    p.setFont(font);
    for (int i = 0; i < 3; ++i) {
        const QRect band = bandsAcross ? QRect(0, height * i / 3, width, height / 3 + 1)
                                       : QRect(width * i / 3, 0, width / 3 + 1, height);
        p.fillRect(band, colours[i]);
        p.setPen(Qt::white);
        p.drawText(band, Qt::AlignCenter, names[i]);
    }
    font.setPixelSize(qMin(width, height) / 14);
    p.setFont(font);
    p.drawText(QRect(0, 0, width, height / 10), Qt::AlignCenter, caption);
    p.end();
    return image;
}

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 92);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

// The gallery: a wide street scene, a tall one stored sideways as a phone keeps a portrait photograph,
// another wide one, and a damaged file; in that order by name, so the picker's rows are galleryRow0 to 3.
// The scan folder: a licence's QR code and a tax bill's Code 128.
void Walkthrough::writePictures() {
    QDir gallery(options_.picturesDir);
    gallery.removeRecursively();
    QDir().mkpath(gallery.path());
    writeFile(gallery.filePath(QStringLiteral("IMG_0101.jpg")),
              jpegOf(scene(1600, 1200, QStringLiteral("Lebar 1600 x 1200"), false)));
    // Stored 1600 x 1200 on its side; upright it is 1200 x 1600.
    const QImage upright = scene(1200, 1600, QStringLiteral("Tinggi 1200 x 1600"), true);
    writeFile(gallery.filePath(QStringLiteral("IMG_0102.jpg")),
              withOrientation(jpegOf(upright.transformed(QTransform().rotate(-90))), 6));
    writeFile(gallery.filePath(QStringLiteral("IMG_0103.jpg")),
              jpegOf(scene(2000, 1000, QStringLiteral("Lebar 2000 x 1000"), false)));
    writeFile(gallery.filePath(QStringLiteral("IMG_0199_rosak.jpg")),
              QByteArray("\xff\xd8\xff\xe0 not a picture"));

    QDir().mkpath(options_.scanDir);
    barcodepictures::qrCode(QStringLiteral("MPT*15012345*2025"), 8)
        .save(options_.scanDir + QStringLiteral("/1-lesen.png"));
    barcodepictures::code128(QStringLiteral("0512345678"), 3)
        .save(options_.scanDir + QStringLiteral("/2-bil-cukai.png"));
    // "Imbas MyKad" and "Imbas Plat": a card and a plate photographed at an angle on a busy table, and
    // a photograph of neither.
    writeFile(options_.scanDir + QStringLiteral("/3-mykad.jpg"),
              DrawnPictures::jpeg(DrawnPictures::card(walkthroughCard).picture, 85));
    writeFile(options_.scanDir + QStringLiteral("/4-plat.jpg"),
              DrawnPictures::jpeg(DrawnPictures::plate(walkthroughPlate).picture, 85));
    writeFile(options_.scanDir + QStringLiteral("/5-bukan-kad.jpg"),
              DrawnPictures::jpeg(DrawnPictures::nothing(5), 85));
}
