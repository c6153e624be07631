#pragma once

#include "platform/BarcodeReader.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QVideoFrame>

#include <atomic>
#include <memory>

class BarcodeDecoder;
class QCamera;
class QMediaCaptureSession;

// The reader over Qt Multimedia: the default camera into a video sink; each frame's grey plane is handed
// to zbar on a worker thread, one frame at a time (frames arriving meanwhile are skipped, so a slow
// decode never queues up stale pictures), and the symbols come back to the UI thread.
class QtBarcodeReader : public QObject, public BarcodeReader {
    Q_OBJECT
public:
    explicit QtBarcodeReader(QObject* parent = nullptr);
    ~QtBarcodeReader() override;

    bool hasCamera() const override;
    void setDelegate(QObject* context, Symbols onSymbols) override;
    void setPreview(QVideoSink* sink) override;
    void start() override;
    void stop() override;
    bool isRunning() const override { return running_; }
    void setRotation(int degrees) override { rotation_ = degrees; }
    void readPicture(const QString& path) override;

    // The grey picture zbar reads from a camera frame: the luma plane where the frame has one.
    static QImage greyOf(const QVideoFrame& frame);

private:
    void frameArrived(const QVideoFrame& frame);
    void deliver(quint64 generation, const QStringList& symbols);
    void connectSink();

    QPointer<QObject> delegateContext_;
    Symbols onSymbols_;
    std::unique_ptr<QMediaCaptureSession> session_;
    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QVideoSink> ownSink_;
    QPointer<QVideoSink> preview_;
    QMetaObject::Connection frames_;
    bool running_ = false;
    int rotation_ = 0;
    // Bumped by every start and stop: a decode begun before carries an old number and is dropped.
    quint64 generation_ = 0;
    std::atomic<bool> decoding_{false};
    std::shared_ptr<BarcodeDecoder> decoder_;
    QThreadPool pool_;
};
