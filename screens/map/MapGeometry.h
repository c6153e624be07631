#pragma once

#include <QList>
#include <QPointF>
#include <QSizeF>

#include <optional>

// The map's arithmetic: standard XYZ web-map tiles (spherical Web Mercator, 256-pixel squares, zoom z
// holding 2^z tiles a side) and the region fitting the pins.
namespace MapGeometry {

inline constexpr int tileSize = 256;
inline constexpr int minZoom = 0;
inline constexpr int maxZoom = 19;
// Beyond this latitude Web Mercator is cut off; the world is square.
inline constexpr double maxLatitude = 85.0511287798066;

struct Coordinate {
    double latitude = 0;
    double longitude = 0;
};

// A visible region: its centre and its spans in degrees.
struct Region {
    Coordinate centre;
    double latitudeSpan = 0;
    double longitudeSpan = 0;
};

// A co-ordinate as a fraction of the world, (0, 0) at the top left (180 W, 85 N), (1, 1) at the bottom right.
QPointF worldFraction(const Coordinate& c);
Coordinate coordinateOf(const QPointF& worldFraction);
// The pixel of the whole world at a zoom level.
inline double worldSize(int zoom) {
    return double(tileSize) * double(1LL << zoom);
}
QPointF pixelOf(const Coordinate& c, int zoom);
Coordinate coordinateAtPixel(const QPointF& pixel, int zoom);

// The region showing every pin: their bounding rectangle in the projection, both spans widened by
// 1.15, then held between 0.014 and 360 degrees; one pin alone gets 0.014 both ways. None without pins.
std::optional<Region> regionFitting(const QList<Coordinate>& pins);
// The whole zoom level nearest to showing the region in a view of that size.
int zoomShowing(const Region& region, const QSizeF& view);

// A tile's column wrapped round the world; whether a row lies on it at all.
int wrappedColumn(int column, int zoom);
bool rowExists(int row, int zoom);

} // namespace MapGeometry
