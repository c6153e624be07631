#pragma once

#include "core/Record.h"
#include "platform/PositionUpdates.h"

#include <QMutex>

#include <optional>

class Positioning;

// The one-shot position read: whatever the platform knows at this moment, through 32-bit floats,
// formatted "%f"; empty texts when it knows none, so no compound claims to stand at 0, 0. May be called
// from a worker thread (the location form's capture).
class PositionReader {
public:
    explicit PositionReader(Positioning* positioning) : positioning_(positioning) {}
    RecordMap getLocation();
    float latitude() const;
    float longtitude() const;
    // The fix the last read found, with its accuracy and time when the platform gave them.
    std::optional<PositionFix> lastFix() const;

private:
    Positioning* positioning_;
    mutable QMutex mutex_;
    float latitude_ = 0;
    float longtitude_ = 0;
    std::optional<PositionFix> fix_;
};
