#include "platform/QtPhotoLibrary.h"

#include "platform/WholeFile.h"

#include <QCamera>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageCapture>
#include <QImageWriter>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QSaveFile>
#include <QVideoFrame>

namespace {

// What a phone's gallery shows: the picture files; one Qt cannot read is still listed, and refused
// when picked, as the phone's own picker would show a picture the application then cannot use.
const QStringList pictureFilters{QStringLiteral("*.jpg"),  QStringLiteral("*.jpeg"), QStringLiteral("*.png"),
                                 QStringLiteral("*.bmp"),  QStringLiteral("*.gif"),  QStringLiteral("*.webp"),
                                 QStringLiteral("*.tif"),  QStringLiteral("*.tiff"), QStringLiteral("*.heic"),
                                 QStringLiteral("*.heif"), QStringLiteral("*.JPG"),  QStringLiteral("*.JPEG"),
                                 QStringLiteral("*.PNG"),  QStringLiteral("*.HEIC")};

} // namespace

QtPhotoLibrary::QtPhotoLibrary(QString picturesDir, QObject* parent)
    : QObject(parent), folder_(std::move(picturesDir)) {}

QtPhotoLibrary::~QtPhotoLibrary() = default;

bool QtPhotoLibrary::isSourceTypeAvailable(Source source) const {
    if (source == Source::Camera)
        return !QMediaDevices::videoInputs().isEmpty();
    return !folder_.isEmpty();
}

void QtPhotoLibrary::present(Source source, Picked picked, Cancelled cancelled) {
    if (showing_ || !isSourceTypeAvailable(source))
        return;
    source_ = source;
    picked_ = std::move(picked);
    cancelled_ = std::move(cancelled);
    images_.clear();
    if (source == Source::PhotoLibrary)
        images_ = QDir(folder_).entryList(pictureFilters, QDir::Files | QDir::Readable, QDir::Name);
    showing_ = true;
    if (source == Source::Camera)
        startCamera();
    Q_EMIT changed();
}

void QtPhotoLibrary::startCamera() {
    session_ = std::make_unique<QMediaCaptureSession>();
    camera_ = std::make_unique<QCamera>(QMediaDevices::defaultVideoInput());
    capture_ = std::make_unique<QImageCapture>();
    session_->setCamera(camera_.get());
    session_->setImageCapture(capture_.get());
    if (viewfinder_)
        session_->setVideoOutput(viewfinder_);
    // The whole frame, not the preview: the photograph keeps the camera's own size.
    connect(capture_.get(), &QImageCapture::imageAvailable, this, [this](int, const QVideoFrame& frame) {
        PickedPhoto photo;
        photo.image = frame.toImage();
        photo.name = QStringLiteral("camera");
        Picked picked = picked_;
        finish();
        if (picked)
            picked(photo);
    });
    connect(capture_.get(), &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString&) {
                Cancelled cancelled = cancelled_;
                finish();
                if (cancelled)
                    cancelled();
            });
    camera_->start();
}

void QtPhotoLibrary::setViewfinder(QObject* videoOutput) {
    viewfinder_ = videoOutput;
    if (session_)
        session_->setVideoOutput(videoOutput);
}

void QtPhotoLibrary::capture() {
    if (camera() && capture_ && capture_->isReadyForCapture())
        capture_->capture();
}

QUrl QtPhotoLibrary::imageUrl(int index) const {
    if (index < 0 || index >= images_.size())
        return {};
    return QUrl::fromLocalFile(QDir(folder_).filePath(images_.at(index)));
}

void QtPhotoLibrary::choose(int index) {
    if (!showing_ || source_ != Source::PhotoLibrary || index < 0 || index >= images_.size())
        return;
    PickedPhoto photo;
    photo.name = images_.at(index);
    QFile file(QDir(folder_).filePath(photo.name));
    if (file.open(QIODevice::ReadOnly))
        photo.encoded = file.readAll();
    Picked picked = picked_;
    finish();
    // An unreadable file is handed on empty: the application says it cannot read it.
    if (picked)
        picked(photo);
}

void QtPhotoLibrary::cancel() {
    if (!showing_)
        return;
    Cancelled cancelled = cancelled_;
    finish();
    if (cancelled)
        cancelled();
}

void QtPhotoLibrary::finish() {
    showing_ = false;
    picked_ = {};
    cancelled_ = {};
    images_.clear();
    if (camera_)
        camera_->stop();
    capture_.reset();
    camera_.reset();
    session_.reset();
    Q_EMIT changed();
}

QString QtPhotoLibrary::albumDir() const {
    return QDir(folder_).filePath(QStringLiteral("Kompaun"));
}

bool QtPhotoLibrary::saveToAlbum(const QImage& image) {
    if (image.isNull() || folder_.isEmpty())
        return false;
    QMutexLocker locker(&albumLock_);
    const QString dir = albumDir();
    if (!QDir().mkpath(dir))
        return false;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
    QString path;
    for (int n = 0;; ++n) {
        path = QDir(dir).filePath(n == 0 ? QStringLiteral("IMG_%1.jpg").arg(stamp)
                                         : QStringLiteral("IMG_%1_%2.jpg").arg(stamp).arg(n));
        if (!QFileInfo::exists(path))
            break;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(95);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return WholeFile::commit(file);
}
