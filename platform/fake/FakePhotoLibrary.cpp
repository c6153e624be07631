#include "platform/fake/FakePhotoLibrary.h"

void FakePhotoLibrary::present(Source source, Picked picked, Cancelled cancelled) {
    if (showing_ || !isSourceTypeAvailable(source))
        return;
    presented.append(source);
    showing_ = source;
    picked_ = std::move(picked);
    cancelled_ = std::move(cancelled);
}

bool FakePhotoLibrary::pick(const PickedPhoto& photo) {
    if (!showing_)
        return false;
    Picked picked = std::move(picked_);
    showing_.reset();
    cancelled_ = {};
    if (picked)
        picked(photo);
    return true;
}

bool FakePhotoLibrary::cancel() {
    if (!showing_)
        return false;
    Cancelled cancelled = std::move(cancelled_);
    showing_.reset();
    picked_ = {};
    if (cancelled)
        cancelled();
    return true;
}

bool FakePhotoLibrary::saveToAlbum(const QImage& image) {
    QMutexLocker locker(&lock_);
    if (!albumWritable)
        return false;
    album_.append(image);
    return true;
}

QList<QImage> FakePhotoLibrary::album() const {
    QMutexLocker locker(&lock_);
    return album_;
}
