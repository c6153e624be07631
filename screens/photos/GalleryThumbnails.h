#pragma once

#include <QQuickImageProvider>

// The picker's thumbnails of the phone's pictures: "image://gallery/<percent-encoded file URL>". A picture
// is decoded no larger than asked for, upright; one that cannot be read shows a plain grey square, so a
// damaged file in the gallery is a blank row rather than an error.
class GalleryThumbnails : public QQuickImageProvider {
public:
    GalleryThumbnails();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};
