#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// "Gambar Kesalahan": one photograph whole. It opens fitted to the screen (never enlarged past its own
// pixels to fit); a pinch zooms between the fitted size and four times the larger of that and the
// picture's own size; a double tap zooms in on the fitted picture and back out of a zoomed one.
class ImageViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal imageWidth READ imageWidth WRITE setImageWidth NOTIFY changed)
    Q_PROPERTY(qreal imageHeight READ imageHeight WRITE setImageHeight NOTIFY changed)
    Q_PROPERTY(qreal viewWidth READ viewWidth WRITE setViewWidth NOTIFY changed)
    Q_PROPERTY(qreal viewHeight READ viewHeight WRITE setViewHeight NOTIFY changed)
    Q_PROPERTY(qreal fitScale READ fitScale NOTIFY changed)
    Q_PROPERTY(qreal maxScale READ maxScale NOTIFY changed)
public:
    explicit ImageViewController(QObject* parent = nullptr);

    qreal imageWidth() const { return imageWidth_; }
    void setImageWidth(qreal v);
    qreal imageHeight() const { return imageHeight_; }
    void setImageHeight(qreal v);
    qreal viewWidth() const { return viewWidth_; }
    void setViewWidth(qreal v);
    qreal viewHeight() const { return viewHeight_; }
    void setViewHeight(qreal v);

    // The scale that shows the whole picture in the view (1 for a picture smaller than the view).
    qreal fitScale() const;
    qreal maxScale() const;
    // A scale kept between the fitted one and the largest.
    Q_INVOKABLE qreal bounded(qreal scale) const;
    // The scale after a double tap at the given one.
    Q_INVOKABLE qreal doubleTapped(qreal scale) const;

Q_SIGNALS:
    void changed();

private:
    void set(qreal& field, qreal v);
    qreal imageWidth_ = 0, imageHeight_ = 0, viewWidth_ = 0, viewHeight_ = 0;
};
