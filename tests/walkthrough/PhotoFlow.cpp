#include "Flows.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtProgress.h"
#include "screens/EvidencePhoto.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>

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

// The gallery the flow picks from: given pictures copied in (never written to where they are), else
// its own: a wide street scene, a tall one stored sideways as a phone keeps a portrait photograph,
// another wide one, and a damaged file.
struct Gallery {
    QString wide, tall, another, damaged;
};

Gallery fillGallery(Walkthrough& w, const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    Gallery g;
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

// An entry is exactly what the picture gives: the centre crop at 300 x 300 and the picture itself at its
// own size, both JPEG at quality 50, in standard Base64 on one line. Empty when it holds.
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

int rowOf(const QtPhotoLibrary& photos, const QString& name) {
    return int(photos.images().indexOf(name));
}

} // namespace

// Evidence photographs on the location form of a general compound: the source choice, two pictures
// from the gallery (a wide one and a tall one), the camera where there is none, the photo list and the
// viewer, a deletion, another picture, a damaged file refused; the entries checked against the
// pictures; then tab 0 back at its root and sign-out.
void photoFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    QtAlerts& alerts = app.alerts();
    QtPhotoLibrary& photos = app.photos();
    NavigationStack& stack = *app.shell().stack(ShellController::JenisKompaun);
    const QString folder = photos.folder();
    const Gallery gallery = fillGallery(w, folder);
    const auto count = [&] { return int(core.getImageArray().size()); };
    const auto countShown = [&]() -> QString {
        QQuickItem* button = officer.find(QStringLiteral("editGambarButton"));
        return button ? button->property("text").toString() : QString();
    };
    const auto processed = [&] { return !app.progress().visible(); };
    // The window's layouts are placed when it next draws; an alert's buttons are tapped where they stand.
    const auto drawn = [&] { app.window()->grabWindow(); };
    const auto attach = [&](const QString& name) {
        officer.tap(QStringLiteral("gambarKesalahanPicture"));
        drawn();
        officer.tap(QStringLiteral("alertButton1"));
        officer.choose(QStringLiteral("galleryRow%1").arg(rowOf(photos, name)), name);
        Officer::waitUntil(processed);
        officer.settle();
    };
    QList<QString> taken; // the file of each entry, in list order

    w.step(
        QStringLiteral("photos-location-form"),
        [&] {
            officer.type(QStringLiteral("userIDField"), w.staffCode());
            officer.type(QStringLiteral("passwordField"), w.password());
            officer.tap(QStringLiteral("btn"));
            officer.tap(QStringLiteral("tab0"));
            while (stack.depth() > 1 && officer.tap(QStringLiteral("backButton"))) {
            }
            // A general compound: the third type, its first act and section, then the location tab.
            officer.choose(QStringLiteral("jenisKompaunRow2"));
            officer.choose(QStringLiteral("kesalahanRow0"));
            officer.choose(QStringLiteral("kategoriRow0"));
            officer.tap(QStringLiteral("formTab2"));
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("lokasiView")))
                return QStringLiteral("the location form is not showing");
            return countShown() == QLatin1String("0 Gambar") && count() == 0
                       ? QString()
                       : QStringLiteral("a fresh compound shows \"%1\"").arg(countShown());
        });

    w.step(
        QStringLiteral("photos-source-choice"),
        [&] { officer.tap(QStringLiteral("gambarKesalahanPicture")); },
        [&]() -> QString {
            if (!alerts.visible() || alerts.title() != QLatin1String("Sila Pilih"))
                return QStringLiteral("no source choice");
            return alerts.buttons() == QStringList{QStringLiteral("Batal"), QStringLiteral("Galeri Gambar"),
                                                   QStringLiteral("Kamera")}
                       ? QString()
                       : QStringLiteral("buttons %1").arg(alerts.buttons().join(QLatin1Char(',')));
        });

    w.step(
        QStringLiteral("photos-gallery"),
        [&] {
            officer.tap(QStringLiteral("alertButton1"));
            // The thumbnails are read in the background; the damaged file's never comes.
            Officer::waitUntil([&] {
                for (int i = 0; i < int(photos.images().size()); ++i) {
                    QQuickItem* thumb = officer.find(QStringLiteral("galleryThumbnail%1").arg(i));
                    if (thumb && thumb->property("status").toInt() == 2 /* Loading */)
                        return false;
                }
                return true;
            });
        },
        [&]() -> QString {
            if (!officer.isShowing(QStringLiteral("photoPicker")))
                return QStringLiteral("the gallery is not showing");
            return rowOf(photos, gallery.wide) >= 0 && rowOf(photos, gallery.tall) >= 0
                       ? QString()
                       : QStringLiteral("the gallery lists %1").arg(photos.images().join(QLatin1Char(',')));
        });

    w.step(
        QStringLiteral("photos-wide-attached"),
        [&] {
            officer.choose(QStringLiteral("galleryRow%1").arg(rowOf(photos, gallery.wide)), gallery.wide);
            Officer::waitUntil(processed);
            officer.settle();
            taken.append(gallery.wide);
        },
        [&]() -> QString {
            if (officer.isShowing(QStringLiteral("photoPicker")))
                return QStringLiteral("the gallery stayed open");
            return count() == 1 && countShown() == QLatin1String("1 Gambar")
                       ? QString()
                       : QStringLiteral("%1 entries, the form shows \"%2\"").arg(count()).arg(countShown());
        });

    w.step(
        QStringLiteral("photos-tall-attached"),
        [&] {
            attach(gallery.tall);
            taken.append(gallery.tall);
        },
        [&]() -> QString {
            return count() == 2 && countShown() == QLatin1String("2 Gambar")
                       ? QString()
                       : QStringLiteral("%1 entries, the form shows \"%2\"").arg(count()).arg(countShown());
        });

    // The camera: a machine without one does nothing at all.
    const bool hasCamera = photos.isSourceTypeAvailable(PhotoLibrary::Source::Camera);
    w.step(
        QStringLiteral("photos-camera"),
        [&] {
            officer.tap(QStringLiteral("gambarKesalahanPicture"));
            drawn();
            officer.tap(QStringLiteral("alertButton2"));
        },
        [&]() -> QString {
            const bool shown = officer.isShowing(QStringLiteral("photoPicker"));
            if (shown)
                officer.tap(QStringLiteral("photoPickerCancel"));
            if (shown != hasCamera)
                return hasCamera ? QStringLiteral("the camera did not open")
                                 : QStringLiteral("a machine without a camera opened one");
            return alerts.visible() || count() != 2 ? QStringLiteral("the camera choice changed something")
                                                    : QString();
        });

    w.step(
        QStringLiteral("photos-list"), [&] { officer.tap(QStringLiteral("editGambarButton")); },
        [&]() -> QString {
            if (stack.currentTitle() != QLatin1String("Senarai Gambar"))
                return QStringLiteral("the list is not showing (\"%1\")").arg(stack.currentTitle());
            QQuickItem* thumb = officer.find(QStringLiteral("imageThumbnail1"));
            if (!officer.isShowing(QStringLiteral("imageRow0")) || !thumb ||
                thumb->property("status").toInt() != 1)
                return QStringLiteral("the rows or their thumbnails are not showing");
            return officer.isShowing(QStringLiteral("imageRow2")) ? QStringLiteral("a third row") : QString();
        });

    const auto fullDrawn = [&] {
        QQuickItem* image = officer.find(QStringLiteral("imageFull"));
        return image && image->property("status").toInt() == 1;
    };
    w.step(
        QStringLiteral("photos-viewer"),
        [&] {
            officer.choose(QStringLiteral("imageRow1"), QStringLiteral("Gambar Kesalahan"));
            Officer::waitUntil(fullDrawn);
        },
        [&]() -> QString {
            if (stack.currentTitle() != QLatin1String("Gambar Kesalahan") || !fullDrawn())
                return QStringLiteral("the viewer shows no photograph");
            QQuickItem* image = officer.find(QStringLiteral("imageFull"));
            QQuickItem* flick = officer.find(QStringLiteral("imageFlick"));
            const qreal shownWidth = image->width() * image->scale();
            const qreal shownHeight = image->height() * image->scale();
            // Fitted: the whole photograph on the screen, touching two of its sides.
            if (shownWidth > flick->width() + 0.5 || shownHeight > flick->height() + 0.5 ||
                (shownWidth < flick->width() - 0.5 && shownHeight < flick->height() - 0.5))
                return QStringLiteral("the photograph is %1 x %2 on a %3 x %4 view")
                    .arg(shownWidth)
                    .arg(shownHeight)
                    .arg(flick->width())
                    .arg(flick->height());
            return {};
        });

    w.step(
        QStringLiteral("photos-swiped"),
        [&] {
            officer.tap(QStringLiteral("backButton"));
            officer.swipe(QStringLiteral("imageRow0"));
        },
        [&]() -> QString {
            return officer.isShowing(QStringLiteral("padamButton0"))
                       ? QString()
                       : QStringLiteral("no \"Padam\" on the row");
        });
    w.step(
        QStringLiteral("photos-deleted"),
        [&] {
            officer.tap(QStringLiteral("padamButton0"));
            taken.removeFirst();
        },
        [&]() -> QString {
            if (count() != 1 || officer.isShowing(QStringLiteral("imageRow1")))
                return QStringLiteral("%1 entries after the deletion").arg(count());
            return entryProblem(core.getImageArray().at(0), readUpright(QDir(folder).filePath(taken.at(0))))
                           .isEmpty()
                       ? QString()
                       : QStringLiteral("the photograph left is not the tall one");
        });

    w.step(
        QStringLiteral("photos-another-attached"),
        [&] {
            officer.tap(QStringLiteral("backButton"));
            officer.settle();
            attach(gallery.another);
            taken.append(gallery.another);
        },
        [&]() -> QString {
            return count() == 2 && countShown() == QLatin1String("2 Gambar")
                       ? QString()
                       : QStringLiteral("%1 entries, the form shows \"%2\"").arg(count()).arg(countShown());
        });

    w.step(
        QStringLiteral("photos-damaged-refused"), [&] { attach(gallery.damaged); },
        [&]() -> QString {
            const QString problem = Walkthrough::expectAlert(alerts, QStringLiteral("Gagal"),
                                                             QStringLiteral("Gambar tidak dapat dibaca"));
            if (!problem.isEmpty())
                return problem;
            return count() == 2 && countShown() == QLatin1String("2 Gambar")
                       ? QString()
                       : QStringLiteral("a damaged file changed the list to %1").arg(count());
        });

    w.step(
        QStringLiteral("photos-entries"),
        [&] {
            officer.tap(QStringLiteral("alertButton0"));
            QJsonArray entries;
            const PhotoList list = core.getImageArray();
            for (int i = 0; i < list.size(); ++i) {
                const QSize small = EvidencePhoto::sizeOf(list.at(i).thumbnail);
                const QSize full = EvidencePhoto::sizeOf(list.at(i).full);
                entries.append(QJsonObject{
                    {QStringLiteral("file"), taken.value(i)},
                    {QStringLiteral("thumbnail"),
                     QStringLiteral("%1x%2").arg(small.width()).arg(small.height())},
                    {QStringLiteral("full"), QStringLiteral("%1x%2").arg(full.width()).arg(full.height())},
                    {QStringLiteral("fullBase64Length"), int(list.at(i).full.size())}});
            }
            w.attach(QStringLiteral("photos-entries.json"), QJsonDocument(entries).toJson());
        },
        [&]() -> QString {
            const PhotoList list = core.getImageArray();
            if (list.size() != taken.size())
                return QStringLiteral("%1 entries for %2 pictures").arg(list.size()).arg(taken.size());
            for (int i = 0; i < list.size(); ++i) {
                const QString problem =
                    entryProblem(list.at(i), readUpright(QDir(folder).filePath(taken.at(i))));
                if (!problem.isEmpty())
                    return QStringLiteral("entry %1 (%2): %3").arg(i).arg(taken.at(i), problem);
            }
            // Each picture taken also went to the album.
            const int kept = int(QDir(photos.albumDir()).entryList(QDir::Files).size());
            return kept == 3 ? QString() : QStringLiteral("the album holds %1 pictures, not 3").arg(kept);
        });

    w.step(
        QStringLiteral("photos-signed-out"),
        [&] {
            app.shell().viewGetBackToRoot();
            officer.settle();
            officer.tap(QStringLiteral("logKeluarButton"));
            drawn();
            officer.tap(QStringLiteral("alertButton1"));
        },
        [&]() -> QString {
            if (stack.depth() != 1)
                return QStringLiteral("the first tab is not back at its root");
            return app.shell().signedIn() ? QStringLiteral("still signed in") : QString();
        });
}
