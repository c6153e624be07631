#include "screens/KeyValueListModel.h"
#include "screens/NavigationStack.h"

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

} // namespace
