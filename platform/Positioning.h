#pragma once

#include <QDateTime>

#include <optional>

struct Coordinate {
    Coordinate() = default;
    Coordinate(double lat, double lon, double horizontalAccuracy = -1, QDateTime when = {})
        : latitude(lat), longitude(lon), accuracy(horizontalAccuracy), taken(std::move(when)) {}
    double latitude = 0;
    double longitude = 0;
    // Horizontal accuracy in metres; negative when the source does not say.
    double accuracy = -1;
    // When the fix was taken; invalid when the source does not say.
    QDateTime taken;
};

// The phone's positioning service, as far as the one-shot read needs it.
class Positioning {
public:
    virtual ~Positioning() = default;
    // Starts updates for the one-shot manager (distance filter none, accuracy a hundred metres).
    virtual void startUpdates() = 0;
    virtual void stopUpdates() = 0;
    // The last position the platform knows, without waiting for a new fix.
    virtual std::optional<Coordinate> lastKnownPosition() const = 0;
};
