// MapViewController: ContactUsViewController in older notes.
#pragma once

#include "screens/map/MapGeometry.h"
#include "screens/map/MapTileModel.h"
#include "screens/shell/AppContext.h"
#include "screens/shell/ScreenController.h"

#include <QObject>
#include <QPointF>
#include <QSizeF>
#include <QStringList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// "Peta": the compound's position as one draggable pin on a tile map. Dragging the pin corrects the
// record's latitude and longitude; the pin's callout offers the spot to a navigation application. The map is
// drawn by the view from web-map tiles laid out here: the view only places what this computes.
class MapViewController : public ScreenController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString pinTitle READ pinTitle CONSTANT)
    Q_PROPERTY(QString pinSubtitle READ pinSubtitle NOTIFY pinChanged)
    Q_PROPERTY(double pinX READ pinX NOTIFY viewChanged)
    Q_PROPERTY(double pinY READ pinY NOTIFY viewChanged)
    Q_PROPERTY(bool dragging READ dragging NOTIFY pinChanged)
    Q_PROPERTY(int zoom READ zoom NOTIFY viewChanged)
    Q_PROPERTY(int tileColumns READ tileColumns NOTIFY viewChanged)
    Q_PROPERTY(int tileRows READ tileRows NOTIFY viewChanged)
    Q_PROPERTY(double tileOffsetX READ tileOffsetX NOTIFY viewChanged)
    Q_PROPERTY(double tileOffsetY READ tileOffsetY NOTIFY viewChanged)
    Q_PROPERTY(MapTileModel* tiles READ tiles CONSTANT)
    Q_PROPERTY(bool calloutVisible READ calloutVisible NOTIFY calloutChanged)
    Q_PROPERTY(bool choiceVisible READ choiceVisible NOTIFY choiceChanged)
    Q_PROPERTY(QString choiceTitle READ choiceTitle CONSTANT)
    Q_PROPERTY(QStringList choiceButtons READ choiceButtons CONSTANT)
    Q_PROPERTY(QString cancelButton READ cancelButton CONSTANT)
    // No position was handed over: no pin until the officer taps the map where the offence was.
    Q_PROPERTY(bool hasPin READ hasPin NOTIFY pinChanged)
    Q_PROPERTY(QString noPositionText READ noPositionText CONSTANT)
public:
    explicit MapViewController(QObject* parent = nullptr);

    QString pinTitle() const { return QStringLiteral("Seret untuk memindah pin"); }
    QString pinSubtitle() const { return pinSubtitle_; }
    double lat() const { return lat_; }
    double longti() const { return longti_; }
    QVariantMap contactInfo() const { return contactInfo_; }
    // The pin's point in the view: where it stands, or where the finger holds it while dragging.
    double pinX() const;
    double pinY() const;
    bool dragging() const { return dragging_; }
    int zoom() const { return zoom_; }
    int tileColumns() const { return columns_; }
    int tileRows() const { return rows_; }
    double tileOffsetX() const { return offset_.x(); }
    double tileOffsetY() const { return offset_.y(); }
    // The cells of tiles covering the view, row by row.
    MapTileModel* tiles() { return &tiles_; }
    bool calloutVisible() const { return calloutVisible_; }
    bool choiceVisible() const { return choiceVisible_; }
    QString choiceTitle() const { return QStringLiteral("Open Using"); }
    QStringList choiceButtons() const {
        return {QStringLiteral("Apple Map"), QStringLiteral("Google Map"), QStringLiteral("Waze")};
    }
    QString cancelButton() const { return QStringLiteral("Cancel Button"); }
    MapGeometry::Coordinate centre() const { return MapGeometry::coordinateAtPixel(centre_, zoom_); }
    bool hasPin() const { return hasPin_; }
    QString noPositionText() const {
        return QStringLiteral("Tiada kedudukan. Ketik peta di tempat kesalahan untuk meletakkan pin.");
    }
    // Where the map opens without a position: the deployment's home in the council's area.
    static MapGeometry::Coordinate homeArea();

    // The position handed over by the location form (latitude and longitude as text); logged.
    Q_INVOKABLE void initContactUsTemplateDictionary(const QVariantMap& info);
    // Each time the screen shows (the first time it also loads: the pin placed, the region fitted).
    Q_INVOKABLE void viewWillAppear();
    Q_INVOKABLE void viewWillDisappear();
    // The map's size in the window; the region is fitted once it is known.
    Q_INVOKABLE void setViewSize(double width, double height);
    // The finger moved the map by that much.
    Q_INVOKABLE void panBy(double dx, double dy);
    Q_INVOKABLE void zoomIn() { setZoom(zoom_ + 1); }
    Q_INVOKABLE void zoomOut() { setZoom(zoom_ - 1); }
    // A pinch ended at that scale: the nearest whole zoom level.
    Q_INVOKABLE void pinchFinished(double scale);
    // The fitting of the region (`zoomMapViewToFitAnnotations:animated:`), with the one pin.
    Q_INVOKABLE void zoomMapViewToFitAnnotations();

    // A tap on the map (not a pan): with no pin yet, the officer's deliberate choice of the place.
    Q_INVOKABLE void mapTapped(double x, double y);
    // The pin: tapped (its callout), pressed, moved by the finger, let go.
    Q_INVOKABLE void pinTapped();
    Q_INVOKABLE void beginPinDrag();
    Q_INVOKABLE void dragPinBy(double dx, double dy);
    Q_INVOKABLE void endPinDrag();
    // The pin library's notification "DDAnnotationCoordinateDidChangeNotification" for the pin, while
    // observed.
    void coordinateChanged(const MapGeometry::Coordinate& moved);

    // The callout's button: the navigation choice.
    Q_INVOKABLE void calloutAccessoryControlTapped() { openActionSheet(); }
    Q_INVOKABLE void openActionSheet();
    // 0 "Apple Map", 1 "Google Map", 2 "Waze"; any other index is the cancel button.
    Q_INVOKABLE void actionSheetClickedButtonAtIndex(int index);

    // The pin's co-ordinates as the subtitle and the record show them.
    static QString subtitleOf(double lat, double lon);

Q_SIGNALS:
    void pinChanged();
    void viewChanged();
    void calloutChanged();
    void choiceChanged();

private:
    void viewDidLoad();
    void pinMoved(const MapGeometry::Coordinate& at);
    void setZoom(int zoom);
    void relayout();
    void log(const QString& line) const;
    bool open(const QUrl& url) const;

    QVariantMap contactInfo_;
    double lat_ = 0;
    double longti_ = 0;
    QString pinSubtitle_;
    bool loaded_ = false;
    bool hasPin_ = false;
    bool observing_ = false;
    bool readOnly_ = false;
    bool fitPending_ = false;
    bool dragging_ = false;
    QPointF dragOffset_;
    bool calloutVisible_ = false;
    bool choiceVisible_ = false;
    int zoom_ = 15;
    QPointF centre_; // world pixel at zoom_
    QSizeF view_;
    int columns_ = 0;
    int rows_ = 0;
    QPointF offset_;
    MapTileModel tiles_;
};
