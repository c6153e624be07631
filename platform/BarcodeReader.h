#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QVideoSink;

// The live barcode reader: the camera, its frames decoded as they come. Decoded symbols reach the
// delegate on the UI thread, and only between start() and stop(): a frame decoded after stop() is
// dropped, so a screen that has been left never hears of it.
class BarcodeReader {
public:
    using Symbols = std::function<void(const QStringList& symbols)>;
    virtual ~BarcodeReader() = default;

    // Whether there is a camera to scan with.
    virtual bool hasCamera() const = 0;
    // The one delegate; forgotten when context is destroyed.
    virtual void setDelegate(QObject* context, Symbols onSymbols) = 0;
    // Where the camera's picture is shown while it runs (none: decoded unseen).
    virtual void setPreview(QVideoSink* sink) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // The screen turned; degrees clockwise from upright.
    virtual void setRotation(int degrees) = 0;
    // A picture file decoded through the same path as a camera frame and delivered like one (an empty
    // list when it holds no barcode or cannot be read). For phones without a camera and for support staff.
    virtual void readPicture(const QString& path) = 0;
};
