#include "core/AppDelegate.h"
#include "platform/fake/FakePlatform.h"
#include "screens/KeyValueListModel.h"
#include "screens/LoginViewController.h"
#include "screens/NavigationStack.h"
#include "screens/ShellController.h"
#include "support/TestSupport.h"
#include "sync/OfficerLogin.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

TEST(NavigationStack, PushPopAndBackToRootKeepTheRootAndTellTheView) {
    NavigationStack stack(QStringLiteral("FirstView.qml"), QStringLiteral("Jenis Kompaun"));
    QSignalSpy pushed(&stack, &NavigationStack::pushRequested);
    QSignalSpy popped(&stack, &NavigationStack::popRequested);
    QSignalSpy toRoot(&stack, &NavigationStack::popToRootRequested);

    // At the root, going back does nothing: the tab never loses its first screen.
    stack.pop();
    stack.popToRoot();
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_TRUE(popped.isEmpty());
    EXPECT_TRUE(toRoot.isEmpty());

    stack.push(QStringLiteral("SectionKesalahanView.qml"), QStringLiteral("LALU LINTAS"));
    stack.push(QStringLiteral("KategoriView.qml"), QStringLiteral("APJ 1987"),
               {{QStringLiteral("searchText"), QStringLiteral("23")}});
    ASSERT_EQ(pushed.size(), 2);
    EXPECT_EQ(pushed.last().at(0).toString(), QStringLiteral("KategoriView.qml"));
    EXPECT_EQ(pushed.last().at(2).toMap().value(QStringLiteral("searchText")).toString(),
              QStringLiteral("23"));
    EXPECT_EQ(stack.depth(), 3);
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("APJ 1987"));

    stack.setCurrentTitle(QStringLiteral("Seksyen"));
    stack.pop();
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("SectionKesalahanView.qml"));
    EXPECT_EQ(popped.size(), 1);

    stack.push(QStringLiteral("KategoriView.qml"), QStringLiteral("APJ 1987"));
    stack.popToRoot();
    EXPECT_EQ(stack.depth(), 1);
    EXPECT_EQ(stack.currentScreen(), QStringLiteral("FirstView.qml"));
    EXPECT_EQ(stack.currentTitle(), QStringLiteral("Jenis Kompaun"));
    EXPECT_EQ(toRoot.size(), 1);

    // A screen without a file is refused rather than pushed as an empty page.
    stack.push(QString(), QStringLiteral("x"));
    EXPECT_EQ(stack.depth(), 1);
}

TEST(KeyValueListModel, RowsReadThroughTheirFormatsAndResetAsOne) {
    KeyValueListModel model;
    model.setTitleFormat([](const QVariantMap& row, int) {
        return row.value(QStringLiteral("kod_seksyen")).toString() + QLatin1Char('-') +
               row.value(QStringLiteral("butir_seksyen")).toString();
    });
    model.setSubtitleFormat(KeyValueListModel::column(QStringLiteral("seksyen_detail")));
    model.setKeyFormat(KeyValueListModel::column(QStringLiteral("akta_seksyen_id")));
    model.setPictureFormat(
        [](const QVariantMap&, int index) { return index == 0 ? QStringLiteral("a.png") : QString(); });
    QSignalSpy count(&model, &KeyValueListModel::countChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.setRows({{{QStringLiteral("kod_seksyen"), QStringLiteral("23(1)")},
                    {QStringLiteral("butir_seksyen"), QStringLiteral("TIDAK MEMPAMERKAN CUKAI JALAN")},
                    {QStringLiteral("seksyen_detail"), QStringLiteral("memandu tanpa lesen")},
                    {QStringLiteral("akta_seksyen_id"), 1001}},
                   {{QStringLiteral("kod_seksyen"), QStringLiteral("48")}}});
    EXPECT_EQ(model.count(), 2);
    EXPECT_EQ(count.size(), 1);
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(model.title(0), QStringLiteral("23(1)-TIDAK MEMPAMERKAN CUKAI JALAN"));
    EXPECT_EQ(model.subtitle(0), QStringLiteral("memandu tanpa lesen"));
    EXPECT_EQ(model.key(0), QStringLiteral("1001")); // an integer column reads as its text
    EXPECT_EQ(model.subtitle(1), QString());         // a missing column reads empty, not "null"
    const QModelIndex first = model.index(0);
    EXPECT_EQ(model.data(first, KeyValueListModel::PictureRole).toString(), QStringLiteral("a.png"));
    EXPECT_EQ(model.data(model.index(1), KeyValueListModel::PictureRole).toString(), QString());
    EXPECT_FALSE(model.data(model.index(5), KeyValueListModel::TitleRole).isValid());
    EXPECT_EQ(model.roleNames().value(KeyValueListModel::SubtitleRole), QByteArray("subtitle"));

    // Same number of rows: the view resets, the count does not change.
    model.setRows({{}, {}});
    EXPECT_EQ(count.size(), 1);
    EXPECT_EQ(reset.size(), 2);
    EXPECT_EQ(model.title(3), QString());
}

class ShellStacksTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakePlatform fakes{dir.path(), testsupport::resourceDir()};
    AppDelegate core{fakes.platform()};
    OfficerLogin login{core};
    LoginViewController screen{core, login, {}};
    ShellController shell{core, screen};
};

TEST_F(ShellStacksTest, EachTabHasItsOwnStackAndBackToRootMovesOnlyTheFirst) {
    const QStringList roots{QStringLiteral("FirstView.qml"), QStringLiteral("FavView.qml"),
                            QStringLiteral("SecondView.qml"), QStringLiteral("LesenView.qml"),
                            QStringLiteral("PrinterScreen.qml")};
    for (int tab = ShellController::JenisKompaun; tab <= ShellController::Pencetak; ++tab)
        EXPECT_EQ(shell.stack(tab)->rootScreen(), roots[tab]);
    EXPECT_EQ(shell.stack(-1), nullptr);
    EXPECT_EQ(shell.stack(5), nullptr);
    EXPECT_EQ(shell.stack(ShellController::Scan)->currentTitle(), QStringLiteral("Lesen/Cukai"));

    shell.stack(ShellController::JenisKompaun)
        ->push(QStringLiteral("SectionKesalahanView.qml"), QStringLiteral("A"));
    shell.stack(ShellController::Simpanan)
        ->push(QStringLiteral("FormSetView.qml"), QStringLiteral("Maklumat"));
    // Selecting another tab leaves every stack as it was.
    shell.tabBarControllerDidSelect(ShellController::Dicetak);
    EXPECT_EQ(shell.stack(ShellController::JenisKompaun)->depth(), 2);
    // "Ke Utama" after printing from the favourites tab returns only the first tab to its root.
    shell.viewGetBackToRoot();
    EXPECT_EQ(shell.stack(ShellController::JenisKompaun)->depth(), 1);
    EXPECT_EQ(shell.stack(ShellController::Simpanan)->depth(), 2);
}

} // namespace
