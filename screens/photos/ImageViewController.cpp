#include "screens/photos/ImageViewController.h"

#include <QtMath>

ImageViewController::ImageViewController(QObject* parent) : QObject(parent) {}

void ImageViewController::set(qreal& field, qreal v) {
    if (qFuzzyCompare(field + 1, v + 1))
        return;
    field = v;
    Q_EMIT changed();
}

void ImageViewController::setImageWidth(qreal v) {
    set(imageWidth_, v);
}
void ImageViewController::setImageHeight(qreal v) {
    set(imageHeight_, v);
}
void ImageViewController::setViewWidth(qreal v) {
    set(viewWidth_, v);
}
void ImageViewController::setViewHeight(qreal v) {
    set(viewHeight_, v);
}

qreal ImageViewController::fitScale() const {
    if (imageWidth_ <= 0 || imageHeight_ <= 0 || viewWidth_ <= 0 || viewHeight_ <= 0)
        return 1;
    return qMin<qreal>(1, qMin(viewWidth_ / imageWidth_, viewHeight_ / imageHeight_));
}

qreal ImageViewController::maxScale() const {
    return 4 * qMax<qreal>(1, fitScale());
}

qreal ImageViewController::bounded(qreal scale) const {
    return qBound(fitScale(), scale, maxScale());
}

qreal ImageViewController::doubleTapped(qreal scale) const {
    const qreal fit = fitScale();
    // Zoomed in at all: back to the whole picture; else two and a half times closer.
    if (scale > fit * 1.01)
        return fit;
    return bounded(fit * 2.5);
}
