#pragma once

#include "core/Record.h"
#include "platform/PositionUpdates.h"

#include <QMutex>

#include <optional>

class Positioning;

// The one-shot position read: whatever the platform knows at this moment, through 32-bit floats,
// formatted "%f"; the zero pair "0.000000" when it knows none, which is what the council's service and
// the printed notice have always taken for "no position". On the phone that pair (and anything near it,
// in the sea off West Africa, far from any council) means no position: it is never shown as a place
// nor written as one. May be called from a worker thread (the location form's capture).
class PositionReader {
public:
    explicit PositionReader(Positioning* positioning) : positioning_(positioning) {}
    // "%f" of zero.
    static QString noPosition() { return QStringLiteral("0.000000"); }
    // What the phone shows where there is no position.
    static QString noPositionText() { return QStringLiteral("Tiada kedudukan"); }
    // A latitude and longitude as record texts that name a place: numbers within range, not at 0, 0.
    static bool isPosition(const QString& lat, const QString& lon);
    static bool isPosition(double lat, double lon);
    RecordMap getLocation();
    float latitude() const;
    float longtitude() const;
    // The fix the last read found, with its accuracy and time when the platform gave them.
    std::optional<PositionFix> lastFix() const;
    // The last fix any read found, kept through later reads that found none.
    std::optional<PositionFix> lastGoodFix() const;

private:
    Positioning* positioning_;
    mutable QMutex mutex_;
    float latitude_ = 0;
    float longtitude_ = 0;
    std::optional<PositionFix> fix_;
    std::optional<PositionFix> goodFix_;
};
