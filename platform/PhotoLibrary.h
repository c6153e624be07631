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

    // Why a picture was refused.
    enum class Failure { None, Unreadable, Truncated, TooLarge };
    // The largest picture kept: a larger one is decoded (or shrunk) to no more than this many pixels, so
    // a 50- or 200-megapixel photograph costs the memory of this one (four bytes a pixel).
    static constexpr qint64 keptPixels = 16'000'000;
    // The largest picture read at all: beyond today's 200-megapixel phones, a file claiming more is a bomb.
    static constexpr qint64 largestSourcePixels = 300'000'000;

    // The picture upright as it was taken, no larger than keptPixels; a null image (and the reason) when
    // it cannot be decoded, is cut short or claims a size no phone takes.
    QImage decode(Failure* failure = nullptr) const;

    // Whether JPEG data runs to its end marker: a file cut short would decode with its missing part grey.
    static bool jpegIsComplete(const QByteArray& bytes);
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
