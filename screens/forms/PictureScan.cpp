#include "screens/forms/PictureScan.h"

#include "core/AppDelegate.h"
#include "platform/Log.h"
#include "platform/PhotoLibrary.h"
#include "platform/Progress.h"
#include "screens/shell/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPointer>

PictureScan::PictureScan(Kind kind, Read read, QObject* parent)
    : QObject(parent), kind_(kind), onRead_(std::move(read)) {
    pictures_.setTitleFormat(KeyValueListModel::column(QStringLiteral("name")));
    pictures_.setKeyFormat(KeyValueListModel::column(QStringLiteral("path")));
    worker_.setMaxThreadCount(1);
}

PictureScan::~PictureScan() {
    worker_.waitForDone();
}

void PictureScan::start() {
    if (!context_ || busy_)
        return;
    PhotoLibrary& photos = context_->photos();
    if (photos.isSourceTypeAvailable(PhotoLibrary::Source::Camera)) {
        QPointer<PictureScan> self(this);
        photos.present(
            PhotoLibrary::Source::Camera,
            [self](const PickedPhoto& photo) {
                if (self)
                    self->read([photo] { return photo.decode(); });
            },
            [] {});
        return;
    }
    // The scan folder's pictures, as "Imbas Gambar" lists them.
    QList<QVariantMap> rows;
    const QString dir = context_->scanDir();
    if (!dir.isEmpty()) {
        const QFileInfoList files = QDir(dir).entryInfoList(
            {QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"),
             QStringLiteral("*.PNG"), QStringLiteral("*.JPG"), QStringLiteral("*.JPEG")},
            QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& file : files)
            rows.append({{QStringLiteral("name"), file.fileName()},
                         {QStringLiteral("path"), file.absoluteFilePath()}});
    }
    pictures_.setRows(rows);
    picturesNote_ = rows.isEmpty() ? QStringLiteral("Tiada gambar untuk diimbas.") : QString();
    picturesShown_ = true;
    Q_EMIT picturesChanged();
}

void PictureScan::cancel() {
    picturesShown_ = false;
    picturesNote_.clear();
    Q_EMIT picturesChanged();
}

void PictureScan::pictureChosen(int row) {
    if (!picturesShown_ || row < 0 || row >= pictures_.count())
        return;
    const QString path = pictures_.key(row);
    cancel();
    read([path] {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        // A picture larger than a phone's camera takes is not read at all.
        if (const QSize size = reader.size();
            size.isValid() && qint64(size.width()) * size.height() > PickedPhoto::keptPixels)
            reader.setScaledSize(size.scaled(4000, 4000, Qt::KeepAspectRatio));
        return reader.read();
    });
}

void PictureScan::read(std::function<QImage()> picture) {
    if (!context_ || busy_)
        return;
    TextReader* reader = context_->textReader();
    if (!reader) {
        onRead_({});
        return;
    }
    busy_ = true;
    context_->app().platform().progress->show(QStringLiteral("Membaca Gambar"));
    const Kind kind = kind_;
    worker_.start([this, reader, kind, picture = std::move(picture)] {
        Reading reading;
        const QImage image = picture();
        if (!image.isNull()) {
            if (kind == Kind::Card)
                reading.card = reader->readCard(image);
            else
                reading.plate = reader->readPlate(image);
        }
        {
            QMutexLocker locker(&doneLock_);
            done_ = reading;
        }
        QMetaObject::invokeMethod(this, &PictureScan::deliver, Qt::QueuedConnection);
    });
}

void PictureScan::deliver() {
    std::optional<Reading> reading;
    {
        QMutexLocker locker(&doneLock_);
        reading.swap(done_);
    }
    if (!reading)
        return;
    busy_ = false;
    context_->app().platform().progress->hide();
    onRead_(*reading);
}
