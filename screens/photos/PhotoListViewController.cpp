#include "screens/photos/PhotoListViewController.h"

#include "core/AppDelegate.h"
#include "screens/photos/EvidencePhoto.h"
#include "screens/photos/PhotoImageProvider.h"
#include "screens/shell/ScreenNames.h"

PhotoListViewController::PhotoListViewController(QObject* parent) : ScreenController(parent) {
    model_.setTitleFormat([](const QVariantMap&, int) { return QStringLiteral("Gambar Kesalahan"); });
    model_.setPictureFormat(
        [this](const QVariantMap&, int index) { return PhotoImageProvider::url(true, generation_, index); });
}

void PhotoListViewController::viewWillAppear() {
    reload();
}

void PhotoListViewController::reload() {
    generation_ = PhotoImageProvider::nextGeneration();
    editable_ = !app().getPreviewIndcator();
    // The rows carry nothing but their place: the pictures are read from the list when drawn.
    QList<QVariantMap> rows;
    const qsizetype count = app().getImageArray().size();
    for (qsizetype i = 0; i < count; ++i)
        rows.append({{QStringLiteral("index"), int(i)}});
    model_.setRows(std::move(rows));
    Q_EMIT reloaded();
}

bool PhotoListViewController::commitEditingStyleForRow(int row) {
    AppDelegate& hub = app();
    if (hub.getPreviewIndcator() || row < 0 || row >= hub.getImageArray().size())
        return false;
    hub.removeImageArray(row);
    reload();
    return true;
}

void PhotoListViewController::didSelectRow(int row) {
    if (!navigation_)
        return;
    const PhotoList photos = app().getImageArray();
    if (row < 0 || row >= photos.size())
        return;
    const QSize size = EvidencePhoto::sizeOf(photos.at(row).full);
    navigation_->push(Screen::image, QStringLiteral("Gambar Kesalahan"),
                      {{QStringLiteral("photoSource"), PhotoImageProvider::url(false, generation_, row)},
                       {QStringLiteral("photoWidth"), size.width()},
                       {QStringLiteral("photoHeight"), size.height()}});
}
