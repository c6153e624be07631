#include "screens/map/MapGeometry.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace MapGeometry {

QPointF worldFraction(const Coordinate& c) {
    const double lat = std::clamp(c.latitude, -maxLatitude, maxLatitude);
    const double x = (c.longitude + 180.0) / 360.0;
    const double s = std::sin(qDegreesToRadians(lat));
    const double y = 0.5 - std::log((1 + s) / (1 - s)) / (4 * M_PI);
    return {x, y};
}

Coordinate coordinateOf(const QPointF& f) {
    const double lon = f.x() * 360.0 - 180.0;
    const double n = M_PI * (1 - 2 * f.y());
    const double lat = qRadiansToDegrees(std::atan(std::sinh(n)));
    return {lat, lon};
}

QPointF pixelOf(const Coordinate& c, int zoom) {
    return worldFraction(c) * worldSize(zoom);
}

Coordinate coordinateAtPixel(const QPointF& pixel, int zoom) {
    return coordinateOf(pixel / worldSize(zoom));
}

std::optional<Region> regionFitting(const QList<Coordinate>& pins) {
    if (pins.isEmpty())
        return std::nullopt;
    double left = 1, right = 0, top = 1, bottom = 0;
    for (const Coordinate& pin : pins) {
        const QPointF p = worldFraction(pin);
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    Region region;
    region.centre = coordinateOf(QPointF((left + right) / 2, (top + bottom) / 2));
    region.longitudeSpan = (right - left) * 360.0;
    region.latitudeSpan = coordinateOf(QPointF(0, top)).latitude - coordinateOf(QPointF(0, bottom)).latitude;
    const auto bound = [](double span) { return std::clamp(span * 1.15, 0.014, 360.0); };
    region.latitudeSpan = bound(region.latitudeSpan);
    region.longitudeSpan = bound(region.longitudeSpan);
    if (pins.size() == 1)
        region.latitudeSpan = region.longitudeSpan = 0.014;
    return region;
}

int zoomShowing(const Region& region, const QSizeF& view) {
    if (view.width() <= 0 || view.height() <= 0 || region.longitudeSpan <= 0 || region.latitudeSpan <= 0)
        return minZoom;
    // Each span, in world fractions, filling its side of the view: 2^z = view side / (tile * fraction).
    const double xFraction = region.longitudeSpan / 360.0;
    const double north = std::min(region.centre.latitude + region.latitudeSpan / 2, maxLatitude);
    const double south = std::max(region.centre.latitude - region.latitudeSpan / 2, -maxLatitude);
    const double yFraction = worldFraction({south, 0}).y() - worldFraction({north, 0}).y();
    double zoom = std::log2(view.width() / (tileSize * xFraction));
    if (yFraction > 0)
        zoom = std::min(zoom, std::log2(view.height() / (tileSize * yFraction)));
    return std::clamp(int(std::lround(zoom)), minZoom, maxZoom);
}

int wrappedColumn(int column, int zoom) {
    const int n = 1 << zoom;
    return ((column % n) + n) % n;
}

bool rowExists(int row, int zoom) {
    return row >= 0 && row < (1 << zoom);
}

} // namespace MapGeometry
