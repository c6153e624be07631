#include "core/PositionReader.h"

#include "platform/Positioning.h"

#include <QMutexLocker>

RecordMap PositionReader::getLocation() {
    QMutexLocker lock(&mutex_);
    std::optional<Coordinate> known;
    if (positioning_) {
        positioning_->startUpdates();
        known = positioning_->lastKnownPosition();
    }
    latitude_ = known ? float(known->latitude) : 0.0f;
    longtitude_ = known ? float(known->longitude) : 0.0f;
    RecordMap result{{QStringLiteral("lat"), QString::asprintf("%f", double(latitude_))},
                     {QStringLiteral("long"), QString::asprintf("%f", double(longtitude_))}};
    if (positioning_)
        positioning_->stopUpdates();
    return result;
}

float PositionReader::latitude() const {
    QMutexLocker lock(&mutex_);
    return latitude_;
}

float PositionReader::longtitude() const {
    QMutexLocker lock(&mutex_);
    return longtitude_;
}
