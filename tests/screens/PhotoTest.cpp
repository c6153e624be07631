#include "ScreensFixture.h"

#include "platform/fake/FakePhotoLibrary.h"
#include "screens/photos/EvidencePhoto.h"
#include "screens/photos/GalleryThumbnails.h"
#include "screens/photos/ImageViewController.h"
#include "screens/photos/PhotoImageProvider.h"
#include "screens/photos/PhotoListViewController.h"
#include "screens/photos/PhotoPickerController.h"
#include "screens/shell/NavigationStack.h"

#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>

namespace {

using EvidencePhoto::imageByScalingAndCroppingForSize;
using EvidencePhoto::jpeg;

// Every pixel its own: red and green say the column, blue the row.
QImage numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, x / 256, y % 256));
    return image;
}

// A phone's JPEG: an Exif block whose one entry is the orientation.
QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray exif("Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(orientation >> 8);
    exif += char(orientation & 0xff);
    exif += QByteArray(6, '\0');
    const int length = int(exif.size()) + 2;
    return jpeg.left(2) + QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + exif +
           jpeg.mid(2);
}

QImage fromBase64(const QString& text) {
    return QImage::fromData(QByteArray::fromBase64(text.toLatin1()), "JPEG");
}

// The first luminance quantisation values of a JPEG: libjpeg's table at quality 50 is the standard
// table itself (16, 11, 12, ...), so they tell the quality the picture was written at.
QList<int> luminanceTable(const QByteArray& jpeg) {
    const qsizetype at = jpeg.indexOf("\xff\xdb");
    if (at < 0 || at + 8 > jpeg.size())
        return {};
    return {quint8(jpeg[at + 5]), quint8(jpeg[at + 6]), quint8(jpeg[at + 7])};
}

int distance(QRgb a, QRgb b) {
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

TEST(ScaleAndCropTest, PicturesScaleByTheLargerFactorAndKeepTheirMiddle) {
    // At scale 1: 400 x 300 placed at x = -50 keeps columns 50 to 349, every row; 300 x 600 placed at
    // y = -150 keeps rows 150 to 449; 300 x 300 is drawn unchanged.
    for (const auto& [size, kept] : {std::pair{QSize(400, 300), QRect(50, 0, 300, 300)},
                                     {QSize(300, 600), QRect(0, 150, 300, 300)},
                                     {QSize(300, 300), QRect(0, 0, 300, 300)}}) {
        const QImage source = numbered(size.width(), size.height());
        const QImage thumb = imageByScalingAndCroppingForSize(QSize(300, 300), source);
        EXPECT_EQ(thumb, source.copy(kept).convertToFormat(thumb.format())) << size.width();
    }

    // 1200 x 900: width factor 0.25, height factor 1/3; scaled to 400 x 300 and placed at x = -50,
    // so the thumbnail's left edge is source column 150 and its right edge column 1050.
    QImage large(1200, 900, QImage::Format_RGB32);
    large.fill(Qt::green);
    QPainter(&large).fillRect(0, 0, 150, 900, Qt::red);
    QPainter(&large).fillRect(1050, 0, 150, 900, Qt::blue);
    const QImage thumb = imageByScalingAndCroppingForSize(QSize(300, 300), large);
    ASSERT_EQ(thumb.size(), QSize(300, 300));
    for (int x : {2, 150, 297})
        for (int y : {0, 150, 299})
            EXPECT_LE(distance(thumb.pixel(x, y), qRgb(0, 255, 0)), 8) << x << "," << y;

    // 30 x 20: height factor 15 is the larger; 450 x 300 placed at x = -75. Each source column is a
    // block of 15 canvas columns, so columns 5 to 24 fill the canvas and column c's middle is at
    // 15 (c - 5) + 7; each row's middle at 15 r + 7.
    const QImage tiny = numbered(30, 20);
    const QImage tinyThumb = imageByScalingAndCroppingForSize(QSize(300, 300), tiny);
    ASSERT_EQ(tinyThumb.size(), QSize(300, 300));
    for (int c = 5; c < 25; ++c)
        for (int r : {0, 9, 19})
            EXPECT_LE(distance(tinyThumb.pixel(15 * (c - 5) + 7, 15 * r + 7), tiny.pixel(c, r)), 2)
                << "source " << c << "," << r;

    // A target other than square follows the same rule: 400 x 300 into 100 x 200 is scaled by 2/3 to
    // 266.7 x 200 and placed at x = -83.3.
    const QImage strip = imageByScalingAndCroppingForSize(QSize(100, 200), numbered(400, 300));
    ASSERT_EQ(strip.size(), QSize(100, 200));
    EXPECT_LE(qAbs(qRed(strip.pixel(50, 100)) - 200), 3); // source column 200, the middle
}

TEST(PhotoEntryTest, BothPicturesAreJpegAtQualityFiftyInStandardBase64) {
    const QImage photo = numbered(1600, 1200);
    const auto entry = EvidencePhoto::entryFor(photo);
    ASSERT_TRUE(entry);

    static const QRegularExpression standard(QStringLiteral("^[A-Za-z0-9+/]*={0,2}$"));
    for (const QString& text : {entry->thumbnail, entry->full}) {
        EXPECT_TRUE(standard.match(text).hasMatch()) << "line breaks or another alphabet";
        EXPECT_EQ(text.size() % 4, 0);
    }
    const QByteArray small = QByteArray::fromBase64(entry->thumbnail.toLatin1());
    const QByteArray full = QByteArray::fromBase64(entry->full.toLatin1());
    EXPECT_EQ(fromBase64(entry->thumbnail).size(), QSize(300, 300));
    EXPECT_EQ(fromBase64(entry->full).size(), QSize(1600, 1200)); // never reduced
    EXPECT_EQ(luminanceTable(small), (QList<int>{16, 11, 12}));
    EXPECT_EQ(luminanceTable(full), (QList<int>{16, 11, 12}));
    // The thumbnail is the crop, encoded.
    EXPECT_EQ(small, EvidencePhoto::jpeg(imageByScalingAndCroppingForSize(QSize(300, 300), photo)));
}

TEST(PhotoEntryTest, ReadingAppliesTheOrientationMark) {
    // Stored 160 x 120 with a red left half; orientation 6 turns it a quarter clockwise to stand
    // 120 x 160 with the red half on top.
    QImage stored(160, 120, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    QPainter(&stored).fillRect(0, 0, 80, 120, Qt::red);
    PickedPhoto picked{withOrientation(jpeg(stored), 6), {}, {}};
    const QImage upright = picked.decode();
    ASSERT_EQ(upright.size(), QSize(120, 160));
    EXPECT_LE(distance(upright.pixel(60, 20), qRgb(255, 0, 0)), 40);
    EXPECT_LE(distance(upright.pixel(60, 140), qRgb(0, 0, 255)), 40);
    const auto entry = EvidencePhoto::entryFor(upright);
    ASSERT_TRUE(entry);
    EXPECT_EQ(fromBase64(entry->full).size(), QSize(120, 160));

    // Without a mark, the picture as stored.
    picked.encoded = jpeg(stored);
    EXPECT_EQ(picked.decode().size(), QSize(160, 120));
    EXPECT_FALSE(EvidencePhoto::entryFor(QImage()));
}

// The location form's photographs over the fixture's compound, with a photo library the test answers.
class PhotoPickingTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        fakes.alerts.shown.clear(); // what start-up said is not this screen's business
        picker.setContext(&context);
        picker.setNavigation(&stack);
    }
    PickedPhoto file(const QImage& image) { return {jpeg(image), {}, QStringLiteral("IMG.jpg")}; }
    bool processed() {
        return testsupport::waitFor([&] { return !picker.busy(); });
    }

    FakePhotoLibrary& library = services.library;
    NavigationStack stack{QStringLiteral("CompoundTypesView.qml"), QStringLiteral("Jenis Kompaun")};
    PhotoPickerController picker;
};

// The walkthrough taps the source choice, the gallery, the list, the viewer and a deletion through the
// window; these are the cases it cannot make happen there.
TEST_F(PhotoPickingTest, OnlyAnAvailableSourceOpensAndAPreviewedCompoundOffersNone) {
    picker.keluarkamera();
    fakes.alerts.answer(0); // "Batal"
    EXPECT_TRUE(library.presented.isEmpty());
    library.cameraAvailable = true;
    library.libraryAvailable = false;
    picker.actionSheetClickedButtonAtIndex(PhotoPickerController::GaleriGambar);
    EXPECT_EQ(fakes.alerts.last().message,
              QStringLiteral("Galeri gambar tidak dapat dibuka pada peranti ini."));
    picker.actionSheetClickedButtonAtIndex(PhotoPickerController::Kamera);
    EXPECT_EQ(library.shownSource(), PhotoLibrary::Source::Camera);

    // A previewed compound takes no pictures: no source is offered.
    fakes.alerts.shown.clear();
    core.setPreviewIndicator(true);
    picker.keluarkamera();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());
}

// The source is asked once a shift: the picture then opens it at once; the source button asks again; a
// source the phone has lost is asked for again rather than failing each time.
TEST_F(PhotoPickingTest, TheSourceChosenIsKeptForTheShift) {
    library.cameraAvailable = true;
    const auto presented = [&] { return library.presented.size(); };
    picker.keluarkamera();
    ASSERT_EQ(fakes.alerts.shown.size(), 1);
    EXPECT_EQ(picker.sourceName(), QString());
    fakes.alerts.answer(2); // "Kamera"
    EXPECT_EQ(library.shownSource(), PhotoLibrary::Source::Camera);
    EXPECT_EQ(picker.sourceName(), QStringLiteral("Kamera"));
    ASSERT_TRUE(library.cancel());
    const auto before = presented();
    picker.keluarkamera();
    EXPECT_TRUE(fakes.alerts.shown.isEmpty());
    EXPECT_EQ(presented(), before + 1);
    EXPECT_EQ(library.shownSource(), PhotoLibrary::Source::Camera);
    ASSERT_TRUE(library.cancel());

    picker.chooseSource();
    fakes.alerts.answer(1); // "Galeri Gambar"
    EXPECT_EQ(picker.sourceName(), QStringLiteral("Galeri"));
    ASSERT_TRUE(library.cancel());
    library.libraryAvailable = false;
    picker.keluarkamera();
    EXPECT_EQ(fakes.alerts.last().message,
              QStringLiteral("Galeri gambar tidak dapat dibuka pada peranti ini."));
    fakes.alerts.answer(0);
    EXPECT_EQ(picker.sourceName(), QString());
    picker.keluarkamera();
    EXPECT_EQ(fakes.alerts.last().title, QStringLiteral("Sila Pilih"));
}

TEST_F(PhotoPickingTest, PickedPicturesJoinTheCompoundInTheOrderTaken) {
    picker.actionSheetClickedButtonAtIndex(PhotoPickerController::GaleriGambar);
    ASSERT_TRUE(library.pick(file(numbered(640, 480))));
    EXPECT_TRUE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels, QStringList{QStringLiteral("Memproses Gambar")});
    // A large picture next, then a small one: the small one is made sooner but joins after.
    const QList<QSize> sizes{QSize(640, 480), QSize(3000, 2000), QSize(40, 30)};
    for (const QSize& size : sizes.mid(1))
        picker.imagePickerControllerDidFinishPickingImage(file(numbered(size.width(), size.height())));
    ASSERT_TRUE(processed());
    EXPECT_FALSE(fakes.progress.visible);
    EXPECT_EQ(fakes.progress.labels.size(), 1); // one overlay for the three
    const PhotoList list = core.getImageArray();
    ASSERT_EQ(list.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fromBase64(list[i].full).size(), sizes[i]) << i;
    EXPECT_EQ(fromBase64(list[0].thumbnail).size(), QSize(300, 300));
    EXPECT_EQ(library.album().value(0).size(), QSize(640, 480));
    // On disk as they were taken, before "Ya" (so that "Ya" writes only the compound's row).
    EXPECT_TRUE(testsupport::waitFor([&] {
        return testsupport::queryNumber(core.saveStore().path(), "SELECT count(*) FROM photo") == 3;
    }));
    // Stored with the compound as it stands.
    EXPECT_TRUE(core.insertIntoBaruPBCompound(record()));
    EXPECT_EQ(core.saveStore().getDicetak().value(0).photos, list);
}

// Bytes that are no picture (the walkthrough's damaged file) and a photograph cut short, which would be kept
// with its missing part grey: neither is kept, and the officer is told which it was.
TEST_F(PhotoPickingTest, APictureCutShortOrEmptyAddsNothing) {
    PickedPhoto cut = file(numbered(640, 480));
    cut.encoded.chop(cut.encoded.size() / 3);
    PickedPhoto empty;
    for (const auto& [photo, message] :
         {std::pair{cut, "Gagal: Gambar tidak lengkap (fail terpotong) dan tidak disimpan [OK]"},
          {empty, "Gagal: Gambar tidak dapat dibaca [OK]"}}) {
        picker.imagePickerControllerDidFinishPickingImage(photo);
        ASSERT_TRUE(processed());
        EXPECT_EQ(lastAlert(), message);
    }
    EXPECT_TRUE(core.getImageArray().isEmpty());
    EXPECT_TRUE(library.album().isEmpty());
    EXPECT_FALSE(fakes.progress.visible);
}

class PhotoListTest : public PhotoPickingTest {
protected:
    void SetUp() override {
        PhotoPickingTest::SetUp();
        for (const QSize& size : {QSize(400, 300), QSize(300, 600), QSize(500, 500)})
            core.setImageArray(*EvidencePhoto::entryFor(numbered(size.width(), size.height())));
        list.setContext(&context);
        list.setNavigation(&stack);
        list.viewWillAppear();
    }
    PhotoListViewController list;
};

TEST_F(PhotoListTest, ASwipeDeletesThatRowAndTheRowsAreDrawnAgain) {
    KeyValueListModel& model = *list.model();
    ASSERT_EQ(model.count(), 3);
    const QString before = model.data(model.index(1), KeyValueListModel::PictureRole).toString();
    const PhotoList all = core.getImageArray();
    ASSERT_TRUE(list.commitEditingStyleForRow(0));
    EXPECT_EQ(core.getImageArray(), (PhotoList{all[1], all[2]}));
    ASSERT_EQ(model.count(), 2);
    // Drawn again under new addresses: row 1 now holds another photograph than before.
    EXPECT_NE(model.data(model.index(1), KeyValueListModel::PictureRole).toString(), before);
    EXPECT_FALSE(list.commitEditingStyleForRow(2));
    // Deleting the last leaves an empty list.
    ASSERT_TRUE(list.commitEditingStyleForRow(0));
    ASSERT_TRUE(list.commitEditingStyleForRow(0));
    EXPECT_EQ(model.count(), 0);
}

TEST_F(PhotoListTest, AStoredCompoundsPhotographsAreOnlyShown) {
    const PhotoList stored{*EvidencePhoto::entryFor(numbered(64, 48)),
                           *EvidencePhoto::entryFor(numbered(48, 64))};
    core.setImageArrayP(stored);
    core.setPreviewIndicator(true);
    list.viewWillAppear();
    EXPECT_FALSE(list.editable());
    ASSERT_EQ(list.model()->count(), 2);
    EXPECT_FALSE(list.commitEditingStyleForRow(0));
    EXPECT_EQ(core.getImageArray(), stored);
    list.didSelectRow(1);
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("ImageView.qml"));
    core.setPreviewIndicator(false);
    EXPECT_EQ(core.getImageArray().size(), 3); // the compound being issued kept its own
}

TEST_F(PhotoListTest, TheProviderDrawsEntriesAndAnEmptyPictureForBadText) {
    PhotoImageProvider provider(core);
    QSize size;
    EXPECT_EQ(provider.requestImage(QStringLiteral("thumb/1/1"), &size, {}).size(), QSize(300, 300));
    EXPECT_EQ(provider.requestImage(QStringLiteral("full/1/1"), &size, {}).size(), QSize(300, 600));
    EXPECT_EQ(provider.requestImage(QStringLiteral("full/1/1"), &size, QSize(144, 144)).size(),
              QSize(72, 144));
    EXPECT_EQ(size, QSize(72, 144));
    EXPECT_EQ(provider.requestImage(QStringLiteral("full/1/9"), &size, {}).size(), QSize(1, 1));
    core.setImageArray({QStringLiteral("not base64!"), QStringLiteral("AAAA")});
    EXPECT_EQ(provider.requestImage(QStringLiteral("thumb/1/3"), &size, {}).size(), QSize(1, 1));
    EXPECT_EQ(provider.requestImage(QStringLiteral("full/1/3"), &size, {}).size(), QSize(1, 1));
}

TEST(ImageViewTest, OpensFittedAndZoomsWithinBounds) {
    ImageViewController viewer;
    viewer.setViewWidth(360);
    viewer.setViewHeight(536);
    viewer.setImageWidth(4000);
    viewer.setImageHeight(3000);
    EXPECT_DOUBLE_EQ(viewer.fitScale(), 0.09);
    EXPECT_DOUBLE_EQ(viewer.doubleTapped(0.09), 0.225);
    EXPECT_DOUBLE_EQ(viewer.doubleTapped(0.225), 0.09);
    EXPECT_DOUBLE_EQ(viewer.bounded(0.01), 0.09);
    EXPECT_DOUBLE_EQ(viewer.bounded(9), 4);
    viewer.setImageWidth(1200);
    viewer.setImageHeight(1600);
    EXPECT_DOUBLE_EQ(viewer.fitScale(), 0.3); // a tall one is fitted by its width
    // A picture smaller than the screen is shown at its own size, not blown up.
    viewer.setImageWidth(200);
    viewer.setImageHeight(100);
    EXPECT_DOUBLE_EQ(viewer.fitScale(), 1);
    EXPECT_DOUBLE_EQ(viewer.doubleTapped(1), 2.5);
}

} // namespace

// The picker's rows: a picture comes back upright and just covering the row; a damaged file a grey square.
TEST(GalleryThumbnailsTest, ScalesToCoverTheRowAndShowsADamagedFileBlank) {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("IMG_0001.jpg"));
    const QString bad = dir.filePath(QStringLiteral("IMG_0002.jpg"));
    QImage picture(800, 400, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(good, "JPEG"));
    testsupport::writeFile(bad, QByteArray("\xff\xd8\xff\xe0 not a picture"));
    const auto idOf = [](const QString& path) {
        return QString::fromLatin1(QUrl::toPercentEncoding(QUrl::fromLocalFile(path).toString()));
    };
    GalleryThumbnails thumbnails;
    QSize size;
    EXPECT_EQ(thumbnails.requestImage(idOf(good), &size, QSize(144, 144)).size(), QSize(288, 144));
    EXPECT_EQ(size, QSize(288, 144));
    const QImage blank = thumbnails.requestImage(idOf(bad), &size, QSize(144, 144));
    EXPECT_EQ(blank.size(), QSize(144, 144));
    EXPECT_EQ(blank.pixelColor(70, 70), QColor(0xd1, 0xd5, 0xdb));
}
