#include "core/PositionReader.h"

#include "core/RecordKeys.h"

#include "platform/Positioning.h"

#include <QMutexLocker>

#include <cmath>

bool PositionReader::isPosition(double lat, double lon) {
    // Within a degree of 0, 0 is the zero pair or a pin dragged a little from it: never a council's.
    return std::isfinite(lat) && std::isfinite(lon) && std::abs(lat) <= 90 && std::abs(lon) <= 180 &&
           (std::abs(lat) >= 1 || std::abs(lon) >= 1);
}

bool PositionReader::isPosition(const QString& lat, const QString& lon) {
    bool latOk = false;
    bool lonOk = false;
    const double la = lat.trimmed().toDouble(&latOk);
    const double lo = lon.trimmed().toDouble(&lonOk);
    return latOk && lonOk && isPosition(la, lo);
}

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
    if (fix_)
        goodFix_ = fix_;
    latitude_ = known ? float(known->latitude) : 0.0f;
    longtitude_ = known ? float(known->longitude) : 0.0f;
    RecordMap result{{Key::lat, QString::asprintf("%f", double(latitude_))},
                     {Key::long_, QString::asprintf("%f", double(longtitude_))}};
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

std::optional<PositionFix> PositionReader::lastGoodFix() const {
    QMutexLocker lock(&mutex_);
    return goodFix_;
}

float PositionReader::longtitude() const {
    QMutexLocker lock(&mutex_);
    return longtitude_;
}
