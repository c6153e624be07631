#include "platform/QtPositioning.h"

#include "platform/QtPositionUpdates.h"

#include <QGeoPositionInfoSource>

QtPositioning::QtPositioning(QGeoPositionInfoSource* source) : source_(source) {
    if (source_)
        source_->startUpdates();
}

std::optional<Coordinate> QtPositioning::lastKnownPosition() const {
    if (!source_)
        return std::nullopt;
    const QGeoPositionInfo info = source_->lastKnownPosition();
    if (!info.isValid() || !info.coordinate().isValid())
        return std::nullopt;
    const double accuracy = info.hasAttribute(QGeoPositionInfo::HorizontalAccuracy)
                                ? info.attribute(QGeoPositionInfo::HorizontalAccuracy)
                                : -1;
    return Coordinate{info.coordinate().latitude(), info.coordinate().longitude(), accuracy,
                      QtPositionUpdates::fixTime(source_, info)};
}
