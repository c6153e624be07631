#include "platform/QtBarcodeReader.h"

#include "platform/BarcodeDecoder.h"

#include <QCamera>
#include <QImageReader>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>

QtBarcodeReader::QtBarcodeReader(QObject* parent)
    : QObject(parent), decoder_(std::make_shared<BarcodeDecoder>()) {
    // The capture session is made with the camera, only where there is one: without a camera the media
    // back end is never woken.
    // One decode at a time: zbar's scanner is not shared between threads.
    pool_.setMaxThreadCount(1);
}

QtBarcodeReader::~QtBarcodeReader() {
    running_ = false;
    if (camera_)
        camera_->stop();
    pool_.waitForDone();
    // The session lets go of its camera and sink before they go.
    session_.reset();
    camera_.reset();
}

bool QtBarcodeReader::hasCamera() const {
    return !QMediaDevices::videoInputs().isEmpty();
}

void QtBarcodeReader::setDelegate(QObject* context, Symbols onSymbols) {
    delegateContext_ = context;
    onSymbols_ = std::move(onSymbols);
}

void QtBarcodeReader::setPreview(QVideoSink* sink) {
    preview_ = sink;
    if (camera_)
        connectSink();
}

void QtBarcodeReader::connectSink() {
    // A capture session feeds one sink: the preview's when the screen shows one, else our own.
    QVideoSink* sink = preview_ ? preview_.data() : ownSink_.get();
    QObject::disconnect(frames_);
    session_->setVideoSink(sink);
    frames_ = connect(sink, &QVideoSink::videoFrameChanged, this, &QtBarcodeReader::frameArrived);
}

void QtBarcodeReader::start() {
    ++generation_;
    running_ = true;
    if (!hasCamera())
        return;
    if (!camera_) {
        session_ = std::make_unique<QMediaCaptureSession>();
        ownSink_ = std::make_unique<QVideoSink>();
        camera_ = std::make_unique<QCamera>(QMediaDevices::defaultVideoInput());
        session_->setCamera(camera_.get());
        connectSink();
    }
    camera_->start();
}

void QtBarcodeReader::stop() {
    ++generation_;
    running_ = false;
    if (camera_)
        camera_->stop();
}

QImage QtBarcodeReader::greyOf(const QVideoFrame& source) {
    QVideoFrame frame = source;
    switch (frame.pixelFormat()) {
    case QVideoFrameFormat::Format_NV12:
    case QVideoFrameFormat::Format_NV21:
    case QVideoFrameFormat::Format_YUV420P:
    case QVideoFrameFormat::Format_YUV422P:
    case QVideoFrameFormat::Format_YV12:
    case QVideoFrameFormat::Format_IMC1:
    case QVideoFrameFormat::Format_IMC2:
    case QVideoFrameFormat::Format_IMC3:
    case QVideoFrameFormat::Format_IMC4:
    case QVideoFrameFormat::Format_Y8:
        // The first plane is the luma: already the grey picture zbar wants.
        if (frame.map(QVideoFrame::ReadOnly)) {
            const QImage view(frame.bits(0), frame.width(), frame.height(), frame.bytesPerLine(0),
                              QImage::Format_Grayscale8);
            QImage copy = view.copy();
            frame.unmap();
            return copy;
        }
        return {};
    default:
        return frame.toImage().convertToFormat(QImage::Format_Grayscale8);
    }
}

void QtBarcodeReader::frameArrived(const QVideoFrame& frame) {
    if (!running_ || !frame.isValid())
        return;
    bool idle = false;
    if (!decoding_.compare_exchange_strong(idle, true))
        return; // still decoding the last frame: this one is skipped
    const quint64 generation = generation_;
    auto decoder = decoder_;
    pool_.start([this, frame, generation, decoder] {
        const QImage grey = greyOf(frame);
        const QStringList symbols = grey.isNull() ? QStringList()
                                                  : decoder->decode(grey.constBits(), grey.width(),
                                                                    grey.height(), grey.bytesPerLine());
        decoding_ = false;
        if (!symbols.isEmpty())
            QMetaObject::invokeMethod(
                this, [this, generation, symbols] { deliver(generation, symbols); }, Qt::QueuedConnection);
    });
}

void QtBarcodeReader::readPicture(const QString& path) {
    if (!running_)
        return;
    const quint64 generation = generation_;
    auto decoder = decoder_;
    pool_.start([this, path, generation, decoder] {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage picture = reader.read();
        const QStringList symbols = picture.isNull() ? QStringList() : decoder->decode(picture);
        QMetaObject::invokeMethod(
            this, [this, generation, symbols] { deliver(generation, symbols); }, Qt::QueuedConnection);
    });
}

void QtBarcodeReader::deliver(quint64 generation, const QStringList& symbols) {
    // Decoded after a stop (the screen left, or a scan already taken): nobody asked for it any more.
    if (generation != generation_ || !running_ || !delegateContext_ || !onSymbols_)
        return;
    onSymbols_(symbols);
}
