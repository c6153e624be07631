#include "Gallery.h"

#include "Walkthrough.h"
#include "app/Application.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtProgress.h"
#include "screens/EvidencePhoto.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QPainter>

namespace {

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

QByteArray jpegOf(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QImage readUpright(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

QString entryProblem(const PhotoEntry& entry, const QImage& source) {
    for (const QString& text : {entry.thumbnail, entry.full}) {
        if (text.isEmpty() || text.contains(QLatin1Char('\n')) ||
            QString::fromLatin1(QByteArray::fromBase64(text.toLatin1()).toBase64()) != text)
            return QStringLiteral("not standard Base64 on one line");
    }
    const QByteArray small = QByteArray::fromBase64(entry.thumbnail.toLatin1());
    const QByteArray full = QByteArray::fromBase64(entry.full.toLatin1());
    if (!small.startsWith("\xff\xd8") || !full.startsWith("\xff\xd8"))
        return QStringLiteral("not JPEG");
    if (EvidencePhoto::sizeOf(entry.thumbnail) != QSize(300, 300))
        return QStringLiteral("thumbnail %1 x %2")
            .arg(EvidencePhoto::sizeOf(entry.thumbnail).width())
            .arg(EvidencePhoto::sizeOf(entry.thumbnail).height());
    if (EvidencePhoto::sizeOf(entry.full) != source.size())
        return QStringLiteral("full picture not of the photograph's upright size");
    // The same encoder at quality 50 over the same pixels gives the same bytes.
    if (full != EvidencePhoto::jpeg(source, 50))
        return QStringLiteral("full picture is not the photograph at quality 50");
    if (small !=
        EvidencePhoto::jpeg(EvidencePhoto::imageByScalingAndCroppingForSize(QSize(300, 300), source), 50))
        return QStringLiteral("thumbnail is not the centre crop at quality 50");
    return {};
}

} // namespace

Gallery Gallery::fill(Walkthrough& w, const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    Gallery g;
    g.folder = folder;
    const QString given = qEnvironmentVariable("KOMPAUN_WALKTHROUGH_PHOTOS");
    if (!given.isEmpty()) {
        const QStringList files = QDir(given).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
                                                         QStringLiteral("*.JPG"), QStringLiteral("*.JPEG"),
                                                         QStringLiteral("*.png"), QStringLiteral("*.PNG")},
                                                        QDir::Files, QDir::Name);
        for (const QString& name : files) {
            QFile::copy(QDir(given).filePath(name), QDir(folder).filePath(name));
            const QImage image = readUpright(QDir(folder).filePath(name));
            if (image.isNull())
                continue;
            if (image.width() > image.height() && g.wide.isEmpty())
                g.wide = name;
            else if (image.height() > image.width() && g.tall.isEmpty())
                g.tall = name;
            else if (g.another.isEmpty())
                g.another = name;
        }
        // Fewer shapes than three: whatever there is, in order.
        for (const QString& name : files) {
            if (g.wide.isEmpty())
                g.wide = name;
            else if (g.tall.isEmpty() && name != g.wide)
                g.tall = name;
            else if (g.another.isEmpty() && name != g.wide && name != g.tall)
                g.another = name;
        }
        if (g.another.isEmpty())
            g.another = g.wide;
        w.line(QStringLiteral("  photographs from %1: wide %2, tall %3, another %4")
                   .arg(given, g.wide, g.tall, g.another));
    } else {
        g.wide = QStringLiteral("IMG_0101.jpg");
        g.tall = QStringLiteral("IMG_0102.jpg");
        g.another = QStringLiteral("IMG_0103.jpg");
        writeFile(QDir(folder).filePath(g.wide),
                  jpegOf(scene(1600, 1200, QStringLiteral("Lebar 1600 x 1200"), false), 92));
        // Stored 1600 x 1200 on its side; upright it is 1200 x 1600.
        const QImage upright = scene(1200, 1600, QStringLiteral("Tinggi 1200 x 1600"), true);
        writeFile(QDir(folder).filePath(g.tall),
                  withOrientation(jpegOf(upright.transformed(QTransform().rotate(-90)), 92), 6));
        writeFile(QDir(folder).filePath(g.another),
                  jpegOf(scene(2000, 1000, QStringLiteral("Lebar 2000 x 1000"), false), 92));
    }
    g.damaged = QStringLiteral("IMG_0199_rosak.jpg");
    writeFile(QDir(folder).filePath(g.damaged), QByteArray("\xff\xd8\xff\xe0 not a picture"));
    return g;
}

QImage Gallery::upright(const QString& name) const {
    return readUpright(QDir(folder).filePath(name));
}

QString Gallery::entriesProblem(const PhotoList& entries, const QStringList& names) const {
    if (entries.size() != names.size())
        return QStringLiteral("%1 photographs for %2 pictures").arg(entries.size()).arg(names.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QString problem = entryProblem(entries.at(i), upright(names.at(i)));
        if (!problem.isEmpty())
            return QStringLiteral("photograph %1 (%2): %3").arg(i).arg(names.at(i), problem);
    }
    return {};
}

void attachFromGallery(Walkthrough& w, const QString& name) {
    Application& app = w.app();
    Officer& officer = w.officer();
    officer.tap(QStringLiteral("gambarKesalahanPicture"));
    officer.tap(QStringLiteral("alertButton1"));
    officer.choose(QStringLiteral("galleryRow%1").arg(app.photos().images().indexOf(name)), name);
    Officer::waitUntil([&] { return !app.progress().visible(); });
    officer.settle();
}
