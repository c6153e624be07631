#include "platform/QtPhotoLibrary.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

namespace {

class QtPhotoLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("b-street.jpg")), "JPEG"));
        ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("a-bay.png")), "PNG"));
        testsupport::writeFile(dir.filePath(QStringLiteral("c-broken.jpg")), "not a picture");
        testsupport::writeFile(dir.filePath(QStringLiteral("notes.txt")), "not listed");
        QDir(dir.path()).mkpath(QStringLiteral("Kompaun"));
    }
    QTemporaryDir dir;
    QtPhotoLibrary library{dir.path()};
    QList<PickedPhoto> picked;
    int cancelled = 0;
    void present() {
        library.present(
            PhotoLibrary::Source::PhotoLibrary, [this](const PickedPhoto& p) { picked << p; },
            [this] { ++cancelled; });
    }
};

// Listing the gallery and handing a picture back are walked through the window (the walkthrough); here the
// order, and the taps that come when no picker shows.
TEST_F(QtPhotoLibraryTest, TheGalleryListsThePicturesInOrderAndAnswersOnlyWhileShowing) {
    present();
    EXPECT_EQ(library.images(), (QStringList{QStringLiteral("a-bay.png"), QStringLiteral("b-street.jpg"),
                                             QStringLiteral("c-broken.jpg")}));
    present(); // already showing: nothing changes
    library.choose(1);
    EXPECT_FALSE(library.showing());
    library.choose(0); // no picker showing
    ASSERT_EQ(picked.size(), 1);
    EXPECT_EQ(picked[0].name, QStringLiteral("b-street.jpg"));

    present();
    library.cancel();
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(library.showing());
    library.cancel();
    EXPECT_EQ(cancelled, 1);
}

TEST_F(QtPhotoLibraryTest, TheAlbumKeepsEveryPictureUnderItsOwnName) {
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(library.saveToAlbum(picture));
    ASSERT_TRUE(library.saveToAlbum(picture)); // the same second: another name
    EXPECT_FALSE(library.saveToAlbum(QImage()));
    const QStringList kept = QDir(library.albumDir()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(kept.size(), 2) << kept.join(QLatin1Char(' ')).toStdString(); // no temporary file left
    for (const QString& name : kept)
        EXPECT_EQ(QImageReader(QDir(library.albumDir()).filePath(name)).size(), QSize(120, 90));

    // No folder configured: no gallery, no album.
    QtPhotoLibrary none{QString()};
    EXPECT_FALSE(none.isSourceTypeAvailable(PhotoLibrary::Source::PhotoLibrary));
    EXPECT_FALSE(none.saveToAlbum(picture));
}

} // namespace
