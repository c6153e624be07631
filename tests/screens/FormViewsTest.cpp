// The issuing forms as the officer touches them: drawn from their tables, with the keyboards the rows
// ask for, pick fields that open their list on a tap, long lists that narrow as the officer types, and
// a form that moves only to show a field the officer could not see.
#include "ScreensFixture.h"

#include <QQmlProperty>

namespace {

class FormViewsTest : public FormsTest {
protected:
    // The officer's thumb brings a row into sight.
    void bringIntoSight(QQuickItem* target) {
        auto* page = qobject_cast<QQuickItem*>(flickable());
        const qreal top =
            target->mapToItem(page->property("contentItem").value<QQuickItem*>(), QPointF()).y();
        const qreal end = page->property("contentHeight").toReal() - page->height();
        page->setProperty("contentY", std::min(end, std::max(0.0, top - 200)));
    }
    qreal scrolled() { return QQmlProperty::read(flickable(), QStringLiteral("contentY")).toReal(); }
    QObject* flickable() { return screen.root->findChild<QQuickItem*>(QStringLiteral("formPage")); }
    int hints(const QString& name) {
        QQuickItem* field = screen.item(name);
        return field ? field->property("inputMethodHints").toInt() : -1;
    }

    QmlScreen screen;
};

TEST_F(FormViewsTest, RowsCarryTheirNamesAndKeyboards) {
    ASSERT_TRUE(screen.open(QStringLiteral("MaklumatPersalahView.qml")));
    EXPECT_TRUE(hints(QStringLiteral("noKadPengenalanPesalahField")) & Qt::ImhDigitsOnly);
    EXPECT_TRUE(hints(QStringLiteral("poskodPenerimaField")) & Qt::ImhDigitsOnly);
    EXPECT_EQ(hints(QStringLiteral("namaPesalahField")), int(Qt::ImhNone));
    for (const char* name : {"pilihanIndividuButton", "pilihanSyarikatButton", "samaDiatasButton",
                             "negeriPesalahPick", "negeriPenerimaField"})
        screen.item(QLatin1String(name));

    // (Typing into a row and Return the walkthrough does on every form.)
    screen.tap(QStringLiteral("pilihanSyarikatButton"));
    EXPECT_EQ(rec(Key::pilihanIndividuAtauSyarikat), QStringLiteral("syarikat"));

    ASSERT_TRUE(screen.open(QStringLiteral("KenderaanTabView.qml")));
    for (const char* plate :
         {"kenderaanNoKenderaanField", "kenderaanNoChasisField", "kenderaanNoCukaiJalanField"})
        EXPECT_TRUE(hints(QLatin1String(plate)) & Qt::ImhUppercaseOnly) << plate;
}

TEST_F(FormViewsTest, TappingAPickFieldOpensItsListAndALongListNarrows) {
    ASSERT_TRUE(screen.open(QStringLiteral("MaklumatPersalahView.qml")));
    QQuickItem* state = screen.item(QStringLiteral("negeriPesalahField"));
    bringIntoSight(state);
    screen.tap(state);
    ASSERT_TRUE(sheet.isOpen());
    EXPECT_FALSE(state->hasActiveFocus());
    // Sixteen states: a list to narrow (how it narrows, the sheet's test); the next list starts unfiltered.
    EXPECT_TRUE(sheet.filterable());
    sheet.setFilter(QStringLiteral("sel"));
    ASSERT_EQ(sheet.model()->count(), 1);
    sheet.cancel();
    bringIntoSight(screen.item(QStringLiteral("negeriPenerimaPick")));
    screen.tap(QStringLiteral("negeriPenerimaPick"));
    ASSERT_TRUE(sheet.isOpen());
    EXPECT_EQ(sheet.filter(), QString());
    EXPECT_GT(sheet.model()->count(), 10);
    sheet.cancel();
}

TEST_F(FormViewsTest, TheFilterIsTypedOnTheSheet) {
    // The window's sheet is the one the officer taps here.
    TextField target;
    ASSERT_TRUE(screen.open(QStringLiteral("DropDownMenuView.qml")));
    QQuickItem* filter = screen.item(QStringLiteral("pickFilter"));
    ASSERT_TRUE(core.openDropDownList({{QStringLiteral("A"), QStringLiteral("1")}}, QStringLiteral("Pendek"),
                                      &target, QStringLiteral("t")));
    EXPECT_FALSE(filter->isVisible());
    screen.tap(QStringLiteral("pickCancel"));

    PickList many;
    for (int i = 0; i < 25; ++i)
        many.append({QStringLiteral("MODEL %1").arg(i), QString::number(i)});
    ASSERT_TRUE(screen.open(QStringLiteral("DropDownMenuView.qml")));
    filter = screen.item(QStringLiteral("pickFilter"));
    ASSERT_TRUE(core.openDropDownList(many, QStringLiteral("Jenis Model"), &target, QStringLiteral("t")));
    ASSERT_TRUE(filter->isVisible());
    screen.tap(filter);
    screen.type("model 2");
    // MODEL 2 and MODEL 20 to 24.
    EXPECT_EQ(screen.item(QStringLiteral("pickRows"))->property("count").toInt(), 6);
    screen.tap(QStringLiteral("pickRow0"));
    EXPECT_EQ(target.text(), QStringLiteral("MODEL 2"));
}

TEST_F(FormViewsTest, TheFormMovesOnlyToShowAHiddenField) {
    ASSERT_TRUE(screen.open(QStringLiteral("MaklumatPersalahView.qml")));
    ASSERT_TRUE(flickable());
    // A field in sight takes the keyboard where it is.
    screen.tap(QStringLiteral("alamat1PesalahField"));
    EXPECT_EQ(scrolled(), 0);

    // A field below the edge comes just into sight, no further.
    QQuickItem* town = screen.item(QStringLiteral("alamat3PenerimaField"));
    town->forceActiveFocus();
    const qreal y = scrolled();
    EXPECT_GT(y, 0);
    const qreal bottom =
        town->mapToItem(qobject_cast<QQuickItem*>(flickable()), QPointF(0, town->height())).y();
    EXPECT_LE(bottom, 640);
    EXPECT_GT(bottom, 640 - 3 * town->height());

    // A choice from a list moves nothing.
    QQmlProperty::write(flickable(), QStringLiteral("contentY"),
                        QQmlProperty::read(flickable(), QStringLiteral("contentHeight")).toReal() - 640);
    const qreal end = scrolled();
    screen.tap(QStringLiteral("negeriPenerimaField"));
    ASSERT_TRUE(sheet.isOpen());
    pick(QStringLiteral("PERLIS"));
    EXPECT_EQ(scrolled(), end);
}

} // namespace
