#include "screens/map/MapViewController.h"

#include "core/AppDelegate.h"
#include "core/PositionReader.h"
#include "core/RecordKeys.h"
#include "platform/Log.h"
#include "platform/UrlOpener.h"

#include <QUrl>

#include <cmath>

using namespace MapGeometry;

MapViewController::MapViewController(QObject* parent) : ScreenController(parent) {}

QString MapViewController::subtitleOf(double lat, double lon) {
    return QString::asprintf("%f %f", lat, lon);
}

void MapViewController::log(const QString& line) const {
    app().platform().log->write(line);
}

void MapViewController::initContactUsTemplateDictionary(const QVariantMap& info) {
    contactInfo_ = info;
    QStringList pairs;
    for (auto it = info.cbegin(); it != info.cend(); ++it)
        pairs << QStringLiteral("%1 = %2").arg(it.key(), it.value().toString());
    log(QStringLiteral("{ %1 }").arg(pairs.join(QStringLiteral("; "))));
}

void MapViewController::viewWillAppear() {
    if (!loaded_) {
        loaded_ = true;
        // A stored compound's position is shown, never moved: its record is what was stored.
        readOnly_ = app().getPreviewIndcator();
        viewDidLoad();
    }
    observing_ = true;
}

void MapViewController::viewWillDisappear() {
    observing_ = false;
    if (dragging_)
        endPinDrag();
}

Coordinate MapViewController::homeArea() {
    const QStringList parts = QStringLiteral(KOMPAUN_MAP_HOME).split(QLatin1Char(','));
    if (parts.size() == 2 && PositionReader::isPosition(parts[0], parts[1]))
        return {parts[0].trimmed().toDouble(), parts[1].trimmed().toDouble()};
    return {3.0738, 101.5183};
}

void MapViewController::viewDidLoad() {
    const QString latText = contactInfo_.value(QStringLiteral("lat")).toString();
    const QString longText = contactInfo_.value(QStringLiteral("long")).toString();
    // No position (none handed over, text that is no number, the zero pair): no pin is invented. The
    // map opens where the phone last knew itself to be, else on the council's area, and waits for the
    // officer to tap the place.
    hasPin_ = PositionReader::isPosition(latText, longText);
    Coordinate at;
    if (hasPin_) {
        at = {latText.trimmed().toDouble(), longText.trimmed().toDouble()};
    } else {
        const std::optional<PositionFix> fix = app().positionReader().lastGoodFix();
        at = fix && PositionReader::isPosition(fix->latitude, fix->longitude)
                 ? Coordinate{fix->latitude, fix->longitude}
                 : homeArea();
    }
    lat_ = at.latitude;
    longti_ = at.longitude;
    pinSubtitle_ = hasPin_ ? subtitleOf(lat_, longti_) : QString();
    Q_EMIT pinChanged();
    centre_ = pixelOf({lat_, longti_}, zoom_);
    zoomMapViewToFitAnnotations();
}

void MapViewController::mapTapped(double x, double y) {
    if (!loaded_ || hasPin_ || readOnly_ || view_.isEmpty())
        return;
    const QPointF topLeft = centre_ - QPointF(view_.width() / 2, view_.height() / 2);
    QPointF pixel = topLeft + QPointF(x, y);
    const double world = worldSize(zoom_);
    pixel.setX(std::fmod(std::fmod(pixel.x(), world) + world, world));
    pixel.setY(std::clamp(pixel.y(), 0.0, world));
    const Coordinate at = coordinateAtPixel(pixel, zoom_);
    if (!PositionReader::isPosition(at.latitude, at.longitude))
        return;
    hasPin_ = true;
    pinMoved(at);
}

void MapViewController::zoomMapViewToFitAnnotations() {
    if (!loaded_)
        return;
    if (view_.isEmpty()) {
        fitPending_ = true;
        return;
    }
    fitPending_ = false;
    const std::optional<Region> region = regionFitting({{lat_, longti_}});
    if (!region)
        return;
    zoom_ = zoomShowing(*region, view_);
    centre_ = pixelOf(region->centre, zoom_);
    relayout();
}

void MapViewController::setViewSize(double width, double height) {
    const QSizeF size(width, height);
    if (size == view_ || width < 0 || height < 0)
        return;
    view_ = size;
    if (fitPending_)
        zoomMapViewToFitAnnotations();
    else
        relayout();
}

void MapViewController::panBy(double dx, double dy) {
    if (!loaded_)
        return;
    const double world = worldSize(zoom_);
    QPointF c = centre_ - QPointF(dx, dy);
    // Round the world sideways; no further than its top and bottom edges.
    c.setX(std::fmod(std::fmod(c.x(), world) + world, world));
    c.setY(std::clamp(c.y(), 0.0, world));
    centre_ = c;
    relayout();
}

void MapViewController::setZoom(int zoom) {
    zoom = std::clamp(zoom, minZoom, maxZoom);
    if (!loaded_ || zoom == zoom_)
        return;
    const Coordinate keep = centre();
    zoom_ = zoom;
    centre_ = pixelOf(keep, zoom_);
    relayout();
}

void MapViewController::pinchFinished(double scale) {
    if (scale > 0 && std::isfinite(scale))
        setZoom(zoom_ + int(std::lround(std::log2(scale))));
}

void MapViewController::relayout() {
    if (view_.isEmpty()) {
        Q_EMIT viewChanged();
        return;
    }
    const QPointF topLeft = centre_ - QPointF(view_.width() / 2, view_.height() / 2);
    const int firstColumn = int(std::floor(topLeft.x() / tileSize));
    const int firstRow = int(std::floor(topLeft.y() / tileSize));
    offset_ = QPointF(firstColumn * tileSize - topLeft.x(), firstRow * tileSize - topLeft.y());
    columns_ = int(std::ceil((view_.width() - offset_.x()) / tileSize));
    rows_ = int(std::ceil((view_.height() - offset_.y()) / tileSize));
    QList<MapTileModel::Cell> cells;
    cells.reserve(columns_ * rows_);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < columns_; ++c) {
            const int row = firstRow + r;
            const QPointF at = offset_ + QPointF(c * tileSize, r * tileSize);
            cells.append({at, rowExists(row, zoom_) ? QStringLiteral("image://tiles/%1/%2/%3")
                                                          .arg(zoom_)
                                                          .arg(wrappedColumn(firstColumn + c, zoom_))
                                                          .arg(row)
                                                    : QString()});
        }
    tiles_.setCells(std::move(cells));
    Q_EMIT viewChanged();
}

double MapViewController::pinX() const {
    const double world = worldSize(zoom_);
    double x = pixelOf({lat_, longti_}, zoom_).x() - centre_.x();
    // The copy of the world nearest the centre.
    x -= std::round(x / world) * world;
    return x + view_.width() / 2 + dragOffset_.x();
}

double MapViewController::pinY() const {
    return pixelOf({lat_, longti_}, zoom_).y() - centre_.y() + view_.height() / 2 + dragOffset_.y();
}

void MapViewController::pinTapped() {
    if (!loaded_ || !hasPin_)
        return;
    calloutVisible_ = !calloutVisible_;
    Q_EMIT calloutChanged();
}

void MapViewController::beginPinDrag() {
    if (!loaded_ || !hasPin_ || dragging_ || readOnly_)
        return;
    dragging_ = true;
    dragOffset_ = {};
    if (calloutVisible_) {
        calloutVisible_ = false;
        Q_EMIT calloutChanged();
    }
    Q_EMIT pinChanged();
}

void MapViewController::dragPinBy(double dx, double dy) {
    if (!dragging_)
        return;
    dragOffset_ += QPointF(dx, dy);
    Q_EMIT viewChanged();
}

void MapViewController::endPinDrag() {
    if (!dragging_)
        return;
    // The drag leaves the dragging state: the pin's new place is where it was let go.
    const QPointF at(pinX(), pinY());
    dragging_ = false;
    dragOffset_ = {};
    const QPointF topLeft = centre_ - QPointF(view_.width() / 2, view_.height() / 2);
    QPointF pixel = topLeft + at;
    const double world = worldSize(zoom_);
    pixel.setX(std::fmod(std::fmod(pixel.x(), world) + world, world));
    pixel.setY(std::clamp(pixel.y(), 0.0, world));
    pinMoved(coordinateAtPixel(pixel, zoom_));
}

void MapViewController::coordinateChanged(const Coordinate& moved) {
    if (observing_)
        pinMoved(moved);
}

void MapViewController::pinMoved(const Coordinate& at) {
    if (readOnly_ || !hasPin_)
        return;
    // The sea off West Africa is where a pin lands that started from no position: never written.
    if (!PositionReader::isPosition(at.latitude, at.longitude)) {
        log(QString::asprintf("Not a position: %f,%f", at.latitude, at.longitude));
        Q_EMIT viewChanged();
        return;
    }
    pinSubtitle_ = subtitleOf(at.latitude, at.longitude);
    lat_ = at.latitude;
    longti_ = at.longitude;
    if (const Record record = app().getDictionary()) {
        record->insert(Key::lat, QString::asprintf("%f", lat_));
        record->insert(Key::long_, QString::asprintf("%f", longti_));
    }
    log(QString::asprintf("Changed %f,%f", lat_, longti_));
    Q_EMIT pinChanged();
    Q_EMIT viewChanged();
}

void MapViewController::openActionSheet() {
    if (!loaded_ || !hasPin_)
        return;
    choiceVisible_ = true;
    Q_EMIT choiceChanged();
}

bool MapViewController::open(const QUrl& url) const {
    return context().urlOpener().openUrl(url);
}

void MapViewController::actionSheetClickedButtonAtIndex(int index) {
    if (!choiceVisible_)
        return;
    choiceVisible_ = false;
    Q_EMIT choiceChanged();
    const UrlOpener& opener = context().urlOpener();
    const QUrl google(QString::asprintf("https://maps.google.com/maps?q=%f,%f", lat_, longti_));
    switch (index) {
    case 0: {
        log(choiceButtons().at(0));
        // A maps application with driving directions where one is installed; else the web map.
        const QUrl directions(QString::asprintf("maps:?daddr=%f,%f&dirflg=d", lat_, longti_));
        open(opener.canOpenUrl(directions) ? directions : google);
        break;
    }
    case 1:
        log(choiceButtons().at(1));
        open(google);
        break;
    case 2: {
        log(choiceButtons().at(2));
        const QUrl waze(QString::asprintf("waze://?ll=%f,%f&navigate=yes", lat_, longti_));
        open(opener.canOpenUrl(QUrl(QStringLiteral("waze://")))
                 ? waze
                 : QUrl(QStringLiteral("https://apps.apple.com/us/app/id323229106")));
        break;
    }
    default:
        log(cancelButton());
        log(QStringLiteral("Cancel"));
        break;
    }
}
