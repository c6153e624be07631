#include "Flows.h"
#include "Gallery.h"
#include "Issuing.h"
#include "Walkthrough.h"
#include "app/Application.h"
#include "core/AppDelegate.h"
#include "platform/QtAlerts.h"
#include "platform/QtPhotoLibrary.h"
#include "platform/QtProgress.h"
#include "screens/EvidencePhoto.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickItem>

namespace {

int rowOf(const QtPhotoLibrary& photos, const QString& name) {
    return int(photos.images().indexOf(name));
}

} // namespace

// Evidence photographs on the location form of a general compound: the source choice, two pictures
// from the gallery (a wide one and a tall one), the camera where there is none, the photo list and the
// viewer, a deletion, another picture, a damaged file refused; the entries checked against the
// pictures; the compound printed and stored with them; then tab 0 back at its root and sign-out.
void photoFlow(Walkthrough& w) {
    Application& app = w.app();
    Officer& officer = w.officer();
    AppDelegate& core = app.app();
    QtAlerts& alerts = app.alerts();
    QtPhotoLibrary& photos = app.photos();
    NavigationStack& stack = *app.shell().stack(ShellController::JenisKompaun);
    const QString folder = photos.folder();
    w.gallery() = Gallery::fill(w, folder);
    const Gallery& gallery = w.gallery();
    const auto count = [&] { return int(core.getImageArray().size()); };
    const auto countShown = [&]() -> QString {
        QQuickItem* button = officer.find(QStringLiteral("editGambarButton"));
        return button ? button->property("text").toString() : QString();
    };
    const auto processed = [&] { return !app.progress().visible(); };
    const auto attach = [&](const QString& name) { attachFromGallery(w, name); };
    QStringList taken; // the file of each entry, in list order

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

    // The camera: a machine without one says so and changes nothing else.
    const bool hasCamera = photos.isSourceTypeAvailable(PhotoLibrary::Source::Camera);
    w.step(
        QStringLiteral("photos-camera"),
        [&] {
            officer.tap(QStringLiteral("gambarKesalahanPicture"));
            officer.tap(QStringLiteral("alertButton2"));
        },
        [&]() -> QString {
            const bool shown = officer.isShowing(QStringLiteral("photoPicker"));
            if (shown)
                officer.tap(QStringLiteral("photoPickerCancel"));
            if (shown != hasCamera)
                return hasCamera ? QStringLiteral("the camera did not open")
                                 : QStringLiteral("a machine without a camera opened one");
            if (!hasCamera) {
                if (!alerts.visible() || !alerts.message().startsWith(QLatin1String("Tiada kamera")))
                    return QStringLiteral("a machine without a camera did not say so");
                officer.tap(QStringLiteral("alertButton0"));
            }
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
            return gallery.entriesProblem(core.getImageArray(), taken).isEmpty()
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
            if (QString p = gallery.entriesProblem(core.getImageArray(), taken); !p.isEmpty())
                return p;
            // Each picture taken also went to the album.
            const int kept = int(QDir(photos.albumDir()).entryList(QDir::Files).size());
            return kept == 3 ? QString() : QStringLiteral("the album holds %1 pictures, not 3").arg(kept);
        });

    // Printed, the compound is stored with exactly these photographs.
    Issuing issuing(w);
    QString receipt;
    QString problem;
    QString number;
    w.step(
        QStringLiteral("photos-printed"),
        [&] {
            issuing.attached = taken;
            number = issuing.number();
            issuing.offender(QStringLiteral("830722086543"), QStringLiteral("rosli bin ahmad"),
                             QStringLiteral("no 7, lorong kenanga 2"));
            officer.tap(QStringLiteral("semakButton"));
            officer.settle();
            problem = issuing.confirmAndPrint(QStringLiteral("photos-printed"), receipt);
        },
        [&]() -> QString { return !problem.isEmpty() ? problem : issuing.lastStored(number, receipt); });

    officer.tap(QStringLiteral("alertButton0")); // "Ke Utama"
    w.signOutStep(QStringLiteral("photos-signed-out"));
}
