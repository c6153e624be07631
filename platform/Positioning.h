#pragma once

#include <optional>

struct Coordinate {
    double latitude = 0;
    double longitude = 0;
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
