#include "core/RecordKeys.h"
#include "platform/PhotoLibrary.h"
#include "screens/CompoundTypesViewController.h"
#include "screens/FavViewController.h"
#include "screens/KategoriViewController.h"
#include "screens/KeyValueListModel.h"
#include "screens/LesenViewController.h"
#include "screens/LokasiViewController.h"
#include "screens/MaklumatPersalahViewController.h"
#include "screens/MapViewController.h"
#include "screens/NavigationStack.h"
#include "screens/PhotoListViewController.h"
#include "screens/PhotoPickerController.h"
#include "screens/PrintedListViewController.h"
#include "screens/ReviewViewController.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

TEST(NavigationStack, BackNeverLosesTheRootAndAScreenWithoutAFileIsRefused) {
    NavigationStack stack(QStringLiteral("CompoundTypesView.qml"), QStringLiteral("Jenis Kompaun"));
    QSignalSpy popped(&stack, &NavigationStack::popRequested);
    stack.pop();
    stack.popToRoot();
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_TRUE(popped.isEmpty());

    // A title set on the top screen goes with it.
    stack.push(QStringLiteral("SectionKesalahanView.qml"), QStringLiteral("LALU LINTAS"));
    stack.push(QStringLiteral("KategoriView.qml"), QStringLiteral("APJ 1987"));
    stack.setCurrentTitle(QStringLiteral("Seksyen"));
    stack.pop();
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("SectionKesalahanView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("LALU LINTAS"));
    stack.popToRoot();
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("CompoundTypesView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("Jenis Kompaun"));

    stack.push(QString(), QStringLiteral("x"));
    EXPECT_EQ(stack.depth(), 1);
}

TEST(KeyValueListModel, ColumnsReadAsTextAndEveryResetReachesTheView) {
    KeyValueListModel model;
    model.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("seksyen_detail")));
    model.setKeyFormat(KeyValueListModel::column(QStringLiteral("akta_seksyen_id")));
    QSignalSpy count(&model, &KeyValueListModel::countChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setRows({{{QStringLiteral("akta_seksyen_id"), 1001}}, {}});
    EXPECT_EQ(model.key(0), QStringLiteral("1001")); // an integer column reads as its text
    EXPECT_EQ(model.subtitle(0), QString());         // a missing column reads empty, not "null"
    EXPECT_EQ(model.title(3), QString());
    EXPECT_FALSE(model.data(model.index(5), KeyValueListModel::TitleRole).isValid());
    // Same number of rows: the view still resets, the count does not change.
    model.setRows({{}, {}});
    EXPECT_EQ(count.size(), 1);
    EXPECT_EQ(reset.size(), 2);
}

// A view can make its controller and call it before the window has handed it its services (or after they
// went): every action then does nothing rather than crash.
TEST(ControllersWithoutServices, DoNothing) {
    MaklumatPersalahViewController offender;
    offender.pick(Key::negeriPesalah);
    offender.samaDiatasExe();
    offender.textFieldDidEndEditing(offender.field(Key::namaPesalah));
    LokasiViewController place;
    place.captureLatLong();
    place.viewWillDisappear();
    EXPECT_FALSE(place.capturing());

    CompoundTypesViewController types;
    types.select(0);
    types.viewWillAppear();
    KategoriViewController sections;
    sections.semak();
    sections.simpan(0);
    sections.select(0);
    sections.search();
    ReviewViewController review;
    review.viewWillAppear();
    review.cetak();
    FavViewController fav;
    fav.viewWillAppear();
    fav.select(0);
    fav.padam(0);
    fav.semak();
    fav.cetak();
    PrintedListViewController printed;
    printed.relo();
    printed.select(0);
    printed.cetak();
    printed.batalKompaun();

    LesenViewController scan;
    scan.viewWillAppear();
    scan.cariAkaun();
    scan.didReadSymbols({QStringLiteral("ABC*151*X")});
    scan.imbasGambar();
    scan.pictureChosen(0);
    MapViewController map;
    map.viewWillAppear();
    map.setViewSize(360, 526);
    map.panBy(10, 10);
    map.zoomIn();
    map.beginPinDrag();
    map.dragPinBy(10, 10);
    map.endPinDrag();
    map.openActionSheet();
    map.actionSheetClickedButtonAtIndex(1);
    EXPECT_FALSE(map.choiceVisible());

    PhotoPickerController picker;
    picker.keluarkamera();
    picker.actionSheetClickedButtonAtIndex(PhotoPickerController::GaleriGambar);
    picker.imagePickerControllerDidFinishPickingImage(PickedPhoto{});
    picker.openEditGmabar();
    PhotoListViewController photos;
    photos.viewWillAppear();
    EXPECT_FALSE(photos.commitEditingStyleForRow(0));
    photos.didSelectRow(0);
    EXPECT_EQ(photos.model()->count(), 0);
}

} // namespace
