#pragma once

#include "platform/PhotoLibrary.h"

#include <QList>
#include <QMutex>

#include <optional>

// A photo library for tests: says which sources are available, records what was presented, and lets
// the test pick or cancel as the officer would. Album saves are kept (from any thread).
class FakePhotoLibrary : public PhotoLibrary {
public:
    bool isSourceTypeAvailable(Source source) const override {
        return source == Source::Camera ? cameraAvailable : libraryAvailable;
    }
    void present(Source source, Picked picked, Cancelled cancelled) override;
    bool saveToAlbum(const QImage& image) override;

    bool showing() const { return showing_.has_value(); }
    std::optional<Source> shownSource() const { return showing_; }
    // The officer picks this picture, or cancels; false when no picker is showing.
    bool pick(const PickedPhoto& photo);
    bool cancel();
    QList<QImage> album() const;

    bool libraryAvailable = true;
    bool cameraAvailable = false;
    bool albumWritable = true;
    QList<Source> presented;

private:
    std::optional<Source> showing_;
    Picked picked_;
    Cancelled cancelled_;
    mutable QMutex lock_;
    QList<QImage> album_;
};
