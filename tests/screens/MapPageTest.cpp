#include "ScreensFixture.h"

#include "platform/fake/FakeSyncServices.h"
#include "screens/map/MapGeometry.h"
#include "screens/map/MapTiles.h"
#include "screens/map/MapViewController.h"
#include "support/FileSizeLimit.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace MapGeometry;

namespace {

using Place = MapGeometry::Coordinate; // not the phone's own position type

TEST(MapGeometry, PointsRegionsAndZoomLevelsFollowWebMercatorAndTheStandardTiles) {
    // The council's offices near Banting at zoom 15, and the corners of the world.
    const QPointF p = pixelOf({3.0738, 101.5183}, 15);
    EXPECT_EQ(int(p.x() / tileSize), 25624); // floor((lon + 180) / 360 * 2^15)
    EXPECT_EQ(int(p.y() / tileSize), 16104); // floor((1 - asinh(tan(lat)) / pi) / 2 * 2^15)
    EXPECT_EQ(worldFraction({0, 0}), QPointF(0.5, 0.5));
    EXPECT_NEAR(worldFraction({maxLatitude, -180}).y(), 0.0, 1e-9);
    EXPECT_NEAR(worldFraction({90, 0}).y(), 0.0, 1e-9) << "latitudes past the cut-off are held at its edge";
    for (const Place c : {Place{3.0738, 101.5183}, Place{-33.86, 151.2}, Place{51.5, -0.12}}) {
        const Place back = coordinateAtPixel(pixelOf(c, 17), 17);
        EXPECT_NEAR(back.latitude, c.latitude, 1e-9);
        EXPECT_NEAR(back.longitude, c.longitude, 1e-9);
    }
    EXPECT_EQ(wrappedColumn(-1, 3), 7);
    EXPECT_EQ(wrappedColumn(8, 3), 0);
    EXPECT_TRUE(rowExists(7, 3) && !rowExists(8, 3) && !rowExists(-1, 3));

    // The region fits the pins, widened and held between its bounds.
    EXPECT_FALSE(regionFitting({}));
    // One pin: 0.014 degrees both ways, wherever it is.
    for (const Place c : {Place{3.0738, 101.5183}, Place{0, 0}, Place{70, -170}}) {
        const auto one = regionFitting({c});
        ASSERT_TRUE(one);
        EXPECT_DOUBLE_EQ(one->latitudeSpan, 0.014);
        EXPECT_DOUBLE_EQ(one->longitudeSpan, 0.014);
        EXPECT_NEAR(one->centre.latitude, c.latitude, 1e-9);
        EXPECT_NEAR(one->centre.longitude, c.longitude, 1e-9);
    }
    // Two pins 0.1 degrees of longitude apart at the equator: widened by 1.15; the latitude span, too
    // small, is raised to 0.014.
    const auto two = regionFitting({{0, 101.0}, {0, 101.1}});
    ASSERT_TRUE(two);
    EXPECT_NEAR(two->longitudeSpan, 0.1 * 1.15, 1e-9);
    EXPECT_DOUBLE_EQ(two->latitudeSpan, 0.014);
    EXPECT_NEAR(two->centre.longitude, 101.05, 1e-9);
    // Across the whole world: held at 360.
    const auto wide = regionFitting({{0, -179.9}, {0, 179.9}});
    ASSERT_TRUE(wide);
    EXPECT_DOUBLE_EQ(wide->longitudeSpan, 360.0);
    // The latitude span is measured in the projection's rectangle, then turned back into degrees.
    const auto tall = regionFitting({{10, 100}, {20, 100}});
    ASSERT_TRUE(tall);
    EXPECT_NEAR(tall->latitudeSpan, 11.5, 1e-9);
    EXPECT_GT(tall->centre.latitude, 15.0) << "the centre is the projection's, not the degrees' midpoint";

    // A region becomes the nearest whole zoom level.
    // 0.014 degrees across a 360-pixel phone: 2^z = 360 * 360 / (256 * 0.014) = 36160, z = 15.14.
    const Region one = *regionFitting({{3.0738, 101.5183}});
    EXPECT_EQ(zoomShowing(one, QSizeF(360, 526)), 15);
    // Twice the width shows one level closer; the whole world shows the world.
    EXPECT_EQ(zoomShowing(one, QSizeF(720, 1052)), 16);
    EXPECT_EQ(zoomShowing({{0, 0}, 170, 360}, QSizeF(256, 256)), 0);
    // A tall, thin region is limited by its height.
    EXPECT_EQ(zoomShowing({{0, 0}, 10, 0.014}, QSizeF(360, 526)), 6);
    EXPECT_EQ(zoomShowing({{0, 0}, 1e-9, 1e-9}, QSizeF(360, 526)), maxZoom);
    EXPECT_EQ(zoomShowing(one, QSizeF(0, 0)), minZoom);
}

// The map page over the shipped reference database, as the location form opens it.
class MapPageTest : public FormsTest {
protected:
    void open(const QString& lat, const QString& lon) { open(map, lat, lon); }
    void open(MapViewController& on, const QString& lat, const QString& lon) {
        on.setContext(&context);
        on.initContactUsTemplateDictionary({{QStringLiteral("lat"), lat}, {QStringLiteral("long"), lon}});
        on.setViewSize(360, 526);
        on.viewWillAppear();
    }
    // Drags the pin by a finger's move, as the view reports it.
    void drag(double dx, double dy) {
        map.beginPinDrag();
        map.dragPinBy(dx / 2, dy / 2);
        map.dragPinBy(dx / 2, dy / 2);
        map.endPinDrag();
    }
    FakeUrlOpener& opener = services.opener;
    MapViewController map;
};

TEST_F(MapPageTest, ThePinStandsAtThePositionInTheMiddleOfARegionOf0014Degrees) {
    open(QStringLiteral("3.073800"), QStringLiteral("101.518300"));
    EXPECT_EQ(map.zoom(), 15); // (the pin's coordinates the walkthrough reads)
    EXPECT_NEAR(map.pinX(), 180, 1e-6);
    EXPECT_NEAR(map.pinY(), 263, 1e-6);
    // The cells cover the view exactly: the first starts at or left of 0, the last reaches the edge.
    const auto& cells = map.tiles()->cells();
    ASSERT_EQ(cells.size(), map.tileColumns() * map.tileRows());
    EXPECT_LE(cells.first().topLeft.x(), 0);
    EXPECT_GT(cells.first().topLeft.x(), -256);
    EXPECT_GE(cells.last().topLeft.x() + 256, 360);
    EXPECT_GE(cells.last().topLeft.y() + 256, 526);
    EXPECT_LT(cells.last().topLeft.x(), 360);
    // The pin's own tile is among them.
    const QPointF pin = pixelOf({3.0738, 101.5183}, 15);
    EXPECT_TRUE(std::any_of(cells.begin(), cells.end(), [&](const MapTileModel::Cell& c) {
        return c.source ==
               QStringLiteral("image://tiles/15/%1/%2").arg(int(pin.x() / 256)).arg(int(pin.y() / 256));
    }));
    // The record is not touched by opening the map.
    EXPECT_EQ(rec(Key::lat), QString());
}

// No position handed over (the zero pair, nothing, text that is no number): no pin is invented. The map
// opens on the council's area, the officer's tap places the pin, and nothing near 0, 0 is ever written.
TEST_F(MapPageTest, WithoutAPositionThereIsNoPinUntilTheOfficerTapsThePlace) {
    for (const auto& [lat, lon] : {std::pair{"0.000000", "0.000000"}, {"", ""}, {"tiada", "nan"}}) {
        MapViewController fresh;
        open(fresh, QString::fromLatin1(lat), QString::fromLatin1(lon));
        EXPECT_FALSE(fresh.hasPin()) << lat;
        EXPECT_EQ(fresh.pinSubtitle(), QString());
        EXPECT_NEAR(fresh.centre().latitude, MapViewController::homeArea().latitude, 1e-3);
        EXPECT_NEAR(fresh.centre().longitude, MapViewController::homeArea().longitude, 1e-3);
        // A drag of the pin that is not there, its callout or its choice: nothing.
        fresh.beginPinDrag();
        fresh.dragPinBy(30, 30);
        fresh.endPinDrag();
        fresh.pinTapped();
        fresh.openActionSheet();
        EXPECT_FALSE(fresh.calloutVisible() || fresh.choiceVisible());
    }
    EXPECT_EQ(rec(Key::lat), QString());

    // The phone knew where it was before the fix went: the map opens there.
    fakes.positioning.known = ::Coordinate{2.9, 101.7, 10, clock.instant};
    core.getLocation();
    fakes.positioning.known.reset();
    core.getLocation();
    open(QStringLiteral("0.000000"), QStringLiteral("0.000000"));
    EXPECT_FALSE(map.hasPin());
    EXPECT_NEAR(map.centre().latitude, 2.9, 1e-3);
    // The officer taps the place, 40 px above the middle: the pin stands there and the record has it.
    map.mapTapped(180, 263 - 40);
    ASSERT_TRUE(map.hasPin());
    EXPECT_NEAR(map.pinY(), 263 - 40, 1e-6);
    EXPECT_GT(rec(Key::lat).toDouble(), 2.9);
    EXPECT_EQ(rec(Key::long_), QStringLiteral("101.700000"));
    // A second tap does not move it: only a drag does.
    const QString placed = rec(Key::lat);
    map.mapTapped(40, 40);
    EXPECT_EQ(rec(Key::lat), placed);
    // A pin brought to within a degree of 0, 0 is not a place: the record keeps the last one.
    map.coordinateChanged({0.002575, 0.003004});
    EXPECT_EQ(rec(Key::lat), placed);
}

TEST_F(MapPageTest, OnlyTheEndOfADragWritesThePositionAndTheSecondDragWins) {
    open(QStringLiteral("3.073800"), QStringLiteral("101.518300"));
    record()->insert(Key::lat, QStringLiteral("3.073800"));
    record()->insert(Key::long_, QStringLiteral("101.518300"));
    map.beginPinDrag();
    map.dragPinBy(40, -30);
    EXPECT_NEAR(map.pinX(), 220, 1e-6) << "the pin follows the finger";
    EXPECT_EQ(rec(Key::lat), QStringLiteral("3.073800")) << "written while still dragging";
    map.endPinDrag();
    // 40 pixels east at zoom 15: 40 * 360 / (256 * 2^15) degrees of longitude.
    const double east = 101.5183 + 40 * 360.0 / (256.0 * 32768);
    EXPECT_EQ(rec(Key::long_), QString::asprintf("%f", east));
    EXPECT_GT(rec(Key::lat).toDouble(), 3.0738);

    drag(-80, 0);
    EXPECT_EQ(rec(Key::long_), QString::asprintf("%f", map.longti()));
    EXPECT_NEAR(map.longti(), 101.5183 - 40 * 360.0 / (256.0 * 32768), 1e-6);
    // The written text is "%f": six decimals, a point, never a locale's comma.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{6}$")).match(rec(Key::lat)).hasMatch());
}

TEST_F(MapPageTest, AStoredCompoundsPinStaysWhereItWasStored) {
    const Record stored =
        makeRecord({{Key::lat, QStringLiteral("3.073800")}, {Key::long_, QStringLiteral("101.518300")}});
    core.setPreviewDictionary(stored);
    core.setPreviewIndicator(true);
    open(QStringLiteral("3.073800"), QStringLiteral("101.518300"));
    const double x = map.pinX();
    drag(40, -30);
    map.coordinateChanged({2.5, 102.25});
    EXPECT_EQ(stored->value(Key::lat), QStringLiteral("3.073800"));
    EXPECT_EQ(stored->value(Key::long_), QStringLiteral("101.518300"));
    EXPECT_NEAR(map.pinX(), x, 1e-6);
    EXPECT_DOUBLE_EQ(map.lat(), 3.0738);
}

TEST_F(MapPageTest, PanningAndZoomMoveTheMapNotThePinsPlace) {
    open(QStringLiteral("3.073800"), QStringLiteral("101.518300"));
    map.panBy(100, 50);
    EXPECT_NEAR(map.pinX(), 280, 1e-6);
    EXPECT_NEAR(map.pinY(), 313, 1e-6);
    EXPECT_EQ(rec(Key::lat), QString());
    const Place before = map.centre();
    map.zoomIn();
    EXPECT_EQ(map.zoom(), 16);
    EXPECT_NEAR(map.centre().latitude, before.latitude, 1e-9);
    EXPECT_NEAR(map.centre().longitude, before.longitude, 1e-9);
    map.pinchFinished(0.24); // about a quarter: two levels out
    EXPECT_EQ(map.zoom(), 14);
    for (int i = 0; i < 30; ++i)
        map.zoomIn();
    EXPECT_EQ(map.zoom(), maxZoom);
    map.pinchFinished(0);
    map.pinchFinished(std::nan(""));
    EXPECT_EQ(map.zoom(), maxZoom);
    // Far off the top of the world: rows above it have no tile.
    for (int i = 0; i < 30; ++i)
        map.zoomOut();
    map.panBy(0, 100000);
    EXPECT_TRUE(std::any_of(map.tiles()->cells().begin(), map.tiles()->cells().end(),
                            [](const MapTileModel::Cell& c) { return c.source.isEmpty(); }));
}

TEST_F(MapPageTest, ThePinLibrarysNotificationCountsOnlyWhileTheScreenShows) {
    open(QStringLiteral("3.0"), QStringLiteral("101.5"));
    map.coordinateChanged({3.5, 101.25});
    EXPECT_EQ(rec(Key::lat), QStringLiteral("3.500000"));
    EXPECT_EQ(rec(Key::long_), QStringLiteral("101.250000"));
    map.viewWillDisappear();
    map.coordinateChanged({4.0, 102.0});
    EXPECT_EQ(rec(Key::lat), QStringLiteral("3.500000"));
    map.viewWillAppear();
    map.coordinateChanged({4.0, 102.0});
    EXPECT_EQ(rec(Key::lat), QStringLiteral("4.000000"));
}

TEST_F(MapPageTest, TheNavigationChoiceOpensTheWebMapOrWazeOrItsStorePage) {
    open(QStringLiteral("3.073800"), QStringLiteral("101.518300"));
    const QString google = QStringLiteral("https://maps.google.com/maps?q=3.073800,101.518300");
    const auto choose = [&](int index) {
        map.openActionSheet();
        map.actionSheetClickedButtonAtIndex(index);
        EXPECT_FALSE(map.choiceVisible());
        return opener.opened.isEmpty() ? QString() : opener.opened.takeLast().toString();
    };
    // No maps application here: "Apple Map" does what "Google Map" does.
    EXPECT_EQ(choose(0), google);
    EXPECT_EQ(choose(1), google);
    EXPECT_EQ(choose(2), QStringLiteral("https://apps.apple.com/us/app/id323229106"));
    opener.schemes = QStringList{QStringLiteral("waze"), QStringLiteral("maps")};
    EXPECT_EQ(choose(2), QStringLiteral("waze://?ll=3.073800,101.518300&navigate=yes"));
    EXPECT_EQ(choose(0), QStringLiteral("maps:?daddr=3.073800,101.518300&dirflg=d"));
    EXPECT_EQ(choose(3), QString());
    // A dragged pin is where the navigation goes.
    opener.schemes.clear();
    map.coordinateChanged({2.5, 101.25});
    EXPECT_EQ(choose(1), QStringLiteral("https://maps.google.com/maps?q=2.500000,101.250000"));
    // Nothing is opened without the sheet showing.
    map.actionSheetClickedButtonAtIndex(1);
    EXPECT_TRUE(opener.opened.isEmpty());
}

QByteArray pngOf(QSize size, Qt::GlobalColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

// What the view draws for a tile: its picture's size, a single pixel being the empty square of a tile
// that could not be had (reported without an error, so no warning is printed for it).
QSize shown(QQuickImageResponse& response) {
    EXPECT_TRUE(response.errorString().isEmpty());
    std::unique_ptr<QQuickTextureFactory> factory(response.textureFactory());
    return factory ? factory->textureSize() : QSize();
}

TEST(MapTiles, TileAddressesComeFromTheTemplateAndOnlyPicturesAreKept) {
    QTemporaryDir dir;
    TestHttp http;
    MapTiles tiles(http, QStringLiteral("https://tiles.example/{z}/{x}/{y}.png?k=1"), dir.path());
    EXPECT_EQ(tiles.tileUrl(15, 25623, 16103)->toString(),
              QStringLiteral("https://tiles.example/15/25623/16103.png?k=1"));
    EXPECT_FALSE(tiles.tileUrl(2, 4, 0)) << "a column outside the world";
    EXPECT_FALSE(tiles.tileUrl(2, 0, -1));
    EXPECT_FALSE(
        MapTiles(http, QStringLiteral("https://tiles.example/{z}/{x}.png"), dir.path()).tileUrl(1, 0, 0));
    EXPECT_FALSE(MapTiles(http, QStringLiteral("file:///etc/{z}/{x}/{y}"), dir.path()).tileUrl(1, 0, 0));
    EXPECT_EQ(MapTiles(http, QString(), dir.path()).tileUrl(1, 1, 0)->toString(),
              QStringLiteral("https://tile.openstreetmap.org/1/1/0.png"));
    EXPECT_EQ(MapTiles::parseId(QStringLiteral("15/25623/16103")), (std::array<int, 3>{15, 25623, 16103}));
    EXPECT_FALSE(MapTiles::parseId(QStringLiteral("15/x/1")));
    EXPECT_FALSE(MapTiles::parseId(QStringLiteral("15/1")));

    // A server's error page is never kept as a tile; a picture is, whole.
    EXPECT_FALSE(tiles.store(3, 1, 2, "<html>rate limited</html>"));
    EXPECT_FALSE(QFile::exists(tiles.cachePath(3, 1, 2)));
    const QByteArray png = pngOf({256, 256}, Qt::green);
    EXPECT_TRUE(tiles.store(3, 1, 2, png));
    EXPECT_EQ(testsupport::readFile(tiles.cachePath(3, 1, 2)), png);

    // Asked for by the view: fetched once, then read from the disk.
    http.body = png;
    std::unique_ptr<QQuickImageResponse> first(tiles.requestImageResponse(QStringLiteral("4/3/5"), {}));
    ASSERT_EQ(http.sent.size(), 1);
    EXPECT_EQ(http.sent.first().request.url.toString(),
              QStringLiteral("https://tiles.example/4/3/5.png?k=1"));
    EXPECT_TRUE(QFile::exists(tiles.cachePath(4, 3, 5)));
    std::unique_ptr<QQuickImageResponse> again(tiles.requestImageResponse(QStringLiteral("4/3/5"), {}));
    EXPECT_EQ(http.sent.size(), 1);
    EXPECT_EQ(shown(*again), QSize(256, 256));
    http.status = 404;
    std::unique_ptr<QQuickImageResponse> missing(tiles.requestImageResponse(QStringLiteral("4/3/6"), {}));
    EXPECT_EQ(shown(*missing), QSize(1, 1));
    EXPECT_FALSE(QFile::exists(tiles.cachePath(4, 3, 6)));
}

TEST(MapTiles, TheCacheIsBoundedOldestFirstAndATileIsBoundedInBytesAndPixels) {
    QTemporaryDir dir;
    TestHttp http;
    const QByteArray tile = pngOf({256, 256}, Qt::green);
    // Room for about ten tiles; the oldest go first once it is over.
    MapTiles tiles(http, QStringLiteral("https://tiles.example/{z}/{x}/{y}.png"), dir.path(),
                   tile.size() * 10);
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);
    for (int x = 0; x < 10; ++x) {
        ASSERT_TRUE(tiles.store(5, x, 1, tile));
        // Written a minute apart, in order.
        QFile f(tiles.cachePath(5, x, 1));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(start.addSecs(60 * x), QFileDevice::FileModificationTime));
    }
    EXPECT_LE(tiles.cache().heldBytes(), tile.size() * 10);
    ASSERT_TRUE(tiles.store(5, 10, 1, tile));
    EXPECT_LE(tiles.cache().heldBytes(), tile.size() * 10 / 4 * 3);
    EXPECT_FALSE(QFile::exists(tiles.cachePath(5, 0, 1))) << "the oldest went first";
    EXPECT_FALSE(QFile::exists(tiles.cachePath(5, 1, 1)));
    EXPECT_TRUE(QFile::exists(tiles.cachePath(5, 9, 1)));
    EXPECT_TRUE(QFile::exists(tiles.cachePath(5, 10, 1))) << "the newest stays";

    // A body over the cap, or a small file claiming a huge picture, is no tile: not kept, not shown.
    QByteArray padded = tile;
    padded.append(QByteArray(TileCache::maxTileBytes, '\0'));
    EXPECT_FALSE(tiles.store(6, 0, 0, padded));
    const QByteArray huge = pngOf({4000, 4000}, Qt::white);
    ASSERT_LT(huge.size(), TileCache::maxTileBytes);
    EXPECT_FALSE(tiles.store(6, 0, 1, huge));
    EXPECT_TRUE(TileCache::decode(huge).isNull());
    http.body = huge;
    std::unique_ptr<QQuickImageResponse> refused(tiles.requestImageResponse(QStringLiteral("6/1/1"), {}));
    EXPECT_EQ(shown(*refused), QSize(1, 1));
    EXPECT_FALSE(QFile::exists(tiles.cachePath(6, 1, 1)));
    // One put there some other way is not shown either.
    testsupport::writeFile(tiles.cachePath(6, 2, 2), huge);
    http.body = tile;
    std::unique_ptr<QQuickImageResponse> fetched(tiles.requestImageResponse(QStringLiteral("6/2/2"), {}));
    EXPECT_EQ(shown(*fetched), QSize(256, 256));
    EXPECT_EQ(testsupport::readFile(tiles.cachePath(6, 2, 2)), tile);
}

TEST(MapTiles, ATileThatCannotBeWrittenWholeKeepsTheOldOne) {
    QTemporaryDir dir;
    TestHttp http;
    MapTiles tiles(http, QStringLiteral("https://tiles.example/{z}/{x}/{y}.png"), dir.path());
    const QByteArray small = pngOf({16, 16}, Qt::red);
    ASSERT_TRUE(tiles.store(3, 1, 1, small));
    const QByteArray bigger = pngOf({512, 512}, Qt::blue) + QByteArray(8192, '\0');
    {
        testsupport::FileSizeLimit full(qMax<rlim_t>(small.size(), 1024));
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(tiles.store(3, 1, 1, bigger));
    }
    EXPECT_EQ(testsupport::readFile(tiles.cachePath(3, 1, 1)), small);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("3/1"))).entryList(QDir::Files),
              QStringList{QStringLiteral("1.tile")});
}

} // namespace
