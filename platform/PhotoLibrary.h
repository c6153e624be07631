#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// One picture handed back by a photo source: the bytes of a picked file (decoded later, off the
// interface thread, with its orientation applied), or a picture the camera has already decoded.
struct PickedPhoto {
    QByteArray encoded;
    QImage image;
    QString name; // the file's name, for the diagnostic log

    // The picture upright as it was taken; a null image when it cannot be decoded.
    QImage decode() const;
};

// The phone's pictures: the camera, the photo library (gallery) and the photo album the application
// saves to. Presenting a source shows the platform's own picker; the officer picks one picture or
// cancels. Every call on the interface thread, except saveToAlbum, which may run on a worker.
class PhotoLibrary {
public:
    enum class Source { PhotoLibrary, Camera };
    using Picked = std::function<void(const PickedPhoto&)>;
    using Cancelled = std::function<void()>;

    virtual ~PhotoLibrary() = default;
    virtual bool isSourceTypeAvailable(Source source) const = 0;
    // Shows the source's picker; exactly one of the two is called later, on the interface thread.
    // A source that is not available, or one already showing, calls neither.
    virtual void present(Source source, Picked picked, Cancelled cancelled) = 0;
    // Keeps a copy of the picture in the phone's photo album; false when it could not be written.
    virtual bool saveToAlbum(const QImage& image) = 0;
};
