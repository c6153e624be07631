#include "screens/photos/PhotoPickerController.h"

#include "core/AppDelegate.h"
#include "platform/Alerts.h"
#include "platform/Log.h"
#include "platform/Progress.h"
#include "screens/photos/EvidencePhoto.h"
#include "screens/shell/ScreenNames.h"

QString PhotoPickerController::failureText(PickedPhoto::Failure failure) {
    switch (failure) {
    case PickedPhoto::Failure::Truncated:
        return QStringLiteral("Gambar tidak lengkap (fail terpotong) dan tidak disimpan");
    case PickedPhoto::Failure::TooLarge:
        return QStringLiteral("Gambar terlalu besar untuk dibaca");
    case PickedPhoto::Failure::None:
    case PickedPhoto::Failure::Unreadable:
        break;
    }
    return QStringLiteral("Gambar tidak dapat dibaca");
}

PhotoPickerController::PhotoPickerController(QObject* parent) : ScreenController(parent) {
    worker_.setMaxThreadCount(1);
}

PhotoPickerController::~PhotoPickerController() {
    // A picture still being made joins the compound all the same, and the overlay goes.
    worker_.waitForDone();
    deliver();
}

void PhotoPickerController::keluarkamera() {
    if (app().getPreviewIndcator())
        return;
    // Photographs come from one place through a shift: asked once, then opened with one tap.
    if (const std::optional<int> source = context().shift().photoSource) {
        actionSheetClickedButtonAtIndex(*source);
        return;
    }
    chooseSource();
}

QString PhotoPickerController::sourceName() const {
    if (!ready())
        return {};
    const std::optional<int> source = context().shift().photoSource;
    return !source ? QString() : *source == Kamera ? QStringLiteral("Kamera") : QStringLiteral("Galeri");
}

void PhotoPickerController::chooseSource() {
    if (app().getPreviewIndcator())
        return;
    // The alert's cancel button stands first; the choice is told by the sheet's own order.
    QPointer<PhotoPickerController> self(this);
    app().platform().alerts->show(
        {QStringLiteral("Sila Pilih"),
         QString(),
         {QStringLiteral("Batal"), QStringLiteral("Galeri Gambar"), QStringLiteral("Kamera")},
         0,
         [self](int button) {
             if (self)
                 self->actionSheetClickedButtonAtIndex(button == 1   ? GaleriGambar
                                                       : button == 2 ? Kamera
                                                                     : Batal);
         }});
}

QString PhotoPickerController::unavailableMessage(int index) {
    return index == Kamera ? QStringLiteral("Tiada kamera pada peranti ini. Pilih gambar dari Galeri Gambar.")
                           : QStringLiteral("Galeri gambar tidak dapat dibuka pada peranti ini.");
}

void PhotoPickerController::actionSheetClickedButtonAtIndex(int index) {
    if (index != GaleriGambar && index != Kamera)
        return;
    PhotoLibrary& photos = context().photos();
    const auto source =
        index == GaleriGambar ? PhotoLibrary::Source::PhotoLibrary : PhotoLibrary::Source::Camera;
    if (!photos.isSourceTypeAvailable(source)) {
        // A source the phone lacks is not kept: the next tap asks again.
        if (context().shift().photoSource == index) {
            context().shift().photoSource.reset();
            Q_EMIT sourceChanged();
        }
        app().platform().alerts->show(
            {QStringLiteral("Makluman"), unavailableMessage(index), {QStringLiteral("OK")}, 0, {}});
        return;
    }
    if (context().shift().photoSource != index) {
        context().shift().photoSource = index;
        Q_EMIT sourceChanged();
    }
    QPointer<PhotoPickerController> self(this);
    photos.present(
        source,
        [self](const PickedPhoto& photo) {
            if (self)
                self->imagePickerControllerDidFinishPickingImage(photo);
        },
        [self] {
            if (self)
                Q_EMIT self->photosChanged();
        });
}

void PhotoPickerController::imagePickerControllerDidFinishPickingImage(const PickedPhoto& photo) {
    if (inFlight_++ == 0) {
        app().platform().progress->show(QStringLiteral("Memproses Gambar"));
        Q_EMIT busyChanged();
    }
    // The library outlives this worker: the application takes its window (and so this controller, which
    // waits for its worker when it goes) down before the services.
    PhotoLibrary* photos = &context().photos();
    worker_.start([this, photo, photos] {
        PickedPhoto::Failure failure = PickedPhoto::Failure::None;
        const QImage image = photo.decode(&failure);
        Made made{EvidencePhoto::entryFor(image), photo.name, failure};
        if (made.entry)
            made.albumFailed = !photos->saveToAlbum(image);
        {
            QMutexLocker locker(&madeLock_);
            made_.append(std::move(made));
        }
        QMetaObject::invokeMethod(this, &PhotoPickerController::deliver, Qt::QueuedConnection);
    });
}

void PhotoPickerController::deliver() {
    QList<Made> made;
    {
        QMutexLocker locker(&madeLock_);
        made.swap(made_);
    }
    if (made.isEmpty())
        return;
    AppDelegate& hub = app();
    const Platform& platform = hub.platform();
    for (const Made& m : made) {
        --inFlight_;
        if (m.entry) {
            hub.setImageArray(*m.entry);
            if (m.albumFailed)
                platform.alerts->show({QStringLiteral("Gagal"),
                                       QStringLiteral("Gambar tidak dapat disimpan ke dalam album telefon. "
                                                      "Gambar tetap disertakan bersama kompaun."),
                                       {QStringLiteral("OK")},
                                       0,
                                       {}});
        } else {
            // Nothing joins the compound: an entry without pictures would be uploaded as nothing.
            platform.log->write(QStringLiteral("picked picture %1 could not be read").arg(m.name));
            platform.alerts->show(
                {QStringLiteral("Gagal"), failureText(m.failure), {QStringLiteral("OK")}, 0, {}});
        }
    }
    if (inFlight_ == 0) {
        platform.progress->hide();
        Q_EMIT busyChanged();
    }
    Q_EMIT photosChanged();
}

void PhotoPickerController::openEditGmabar() {
    if (navigation_)
        navigation_->push(Screen::photoList, QStringLiteral("Senarai Gambar"));
}
