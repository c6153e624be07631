#pragma once

#include "platform/Positioning.h"

#include <QPointer>

class QGeoPositionInfoSource;

// The one-shot read over a Qt Positioning source (on the desktop an NMEA file or socket). The source is
// kept running from the start, so a read answers at once with what it already knows; the per-read
// start and stop are then nothing to do. Without a source nothing is ever known, as on a phone with
// positioning switched off.
class QtPositioning : public Positioning {
public:
    explicit QtPositioning(QGeoPositionInfoSource* source);
    void startUpdates() override {}
    void stopUpdates() override {}
    std::optional<Coordinate> lastKnownPosition() const override;

private:
    QPointer<QGeoPositionInfoSource> source_;
};
