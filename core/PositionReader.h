#pragma once

#include "core/Record.h"

#include <QMutex>

class Positioning;

// The one-shot position read: whatever the platform knows at this moment, through 32-bit floats,
// formatted "%f". May be called from a worker thread (the location form's capture).
class PositionReader {
public:
    explicit PositionReader(Positioning* positioning) : positioning_(positioning) {}
    RecordMap getLocation();
    float latitude() const;
    float longtitude() const;

private:
    Positioning* positioning_;
    mutable QMutex mutex_;
    float latitude_ = 0;
    float longtitude_ = 0;
};
