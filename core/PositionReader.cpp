#include "core/PositionReader.h"

#include "core/RecordKeys.h"

#include "platform/Positioning.h"

#include <QMutexLocker>

RecordMap PositionReader::getLocation() {
    QMutexLocker lock(&mutex_);
    std::optional<Coordinate> known;
    if (positioning_) {
        positioning_->startUpdates();
        known = positioning_->lastKnownPosition();
    }
    fix_ = known ? std::optional<PositionFix>(
                       PositionFix{known->latitude, known->longitude, known->accuracy, known->taken})
                 : std::nullopt;
    latitude_ = known ? float(known->latitude) : 0.0f;
    longtitude_ = known ? float(known->longitude) : 0.0f;
    RecordMap result{{Key::lat, known ? QString::asprintf("%f", double(latitude_)) : QString()},
                     {Key::long_, known ? QString::asprintf("%f", double(longtitude_)) : QString()}};
    if (positioning_)
        positioning_->stopUpdates();
    return result;
}

float PositionReader::latitude() const {
    QMutexLocker lock(&mutex_);
    return latitude_;
}

std::optional<PositionFix> PositionReader::lastFix() const {
    QMutexLocker lock(&mutex_);
    return fix_;
}

float PositionReader::longtitude() const {
    QMutexLocker lock(&mutex_);
    return longtitude_;
}
