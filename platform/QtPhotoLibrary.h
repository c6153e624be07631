#pragma once

#include "platform/PhotoLibrary.h"

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <memory>

class QCamera;
class QImageCapture;
class QMediaCaptureSession;

// The photo sources of a desktop build. The gallery is a picker over the pictures folder, drawn inside
// the application's window (PhotoPickerSheet.qml) so it works offscreen too; the camera is the first
// video input through Qt Multimedia with a viewfinder in the same sheet, available only where the
// machine has one. The album is a "Kompaun" folder under the pictures folder.
class QtPhotoLibrary : public QObject, public PhotoLibrary {
    Q_OBJECT
    Q_PROPERTY(bool showing READ showing NOTIFY changed)
    Q_PROPERTY(bool camera READ camera NOTIFY changed)
    Q_PROPERTY(QString folder READ folder CONSTANT)
    Q_PROPERTY(QStringList images READ images NOTIFY changed)
public:
    explicit QtPhotoLibrary(QString picturesDir, QObject* parent = nullptr);
    ~QtPhotoLibrary() override;

    bool isSourceTypeAvailable(Source source) const override;
    void present(Source source, Picked picked, Cancelled cancelled) override;
    bool saveToAlbum(const QImage& image) override;

    bool showing() const { return showing_; }
    bool camera() const { return showing_ && source_ == Source::Camera; }
    QString folder() const { return folder_; }
    // The pictures of the gallery, by file name.
    QStringList images() const { return images_; }
    QString albumDir() const;

    // A picture of the gallery, for the sheet's rows.
    Q_INVOKABLE QUrl imageUrl(int index) const;
    // The officer tapped a picture of the gallery.
    Q_INVOKABLE void choose(int index);
    // The viewfinder item of the sheet (a VideoOutput), and the shutter.
    Q_INVOKABLE void setViewfinder(QObject* videoOutput);
    Q_INVOKABLE void capture();
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void changed();

private:
    void finish();
    void startCamera();

    QString folder_;
    bool showing_ = false;
    Source source_ = Source::PhotoLibrary;
    QStringList images_;
    Picked picked_;
    Cancelled cancelled_;
    std::unique_ptr<QMediaCaptureSession> session_;
    std::unique_ptr<QCamera> camera_;
    std::unique_ptr<QImageCapture> capture_;
    QObject* viewfinder_ = nullptr;
    QMutex albumLock_;
};
