// The issuing forms as the officer touches them: drawn from their tables, with the keyboards the rows
// ask for, pick fields that open their list on a tap, long lists that narrow as the officer types, and
// a form that moves only to show a field the officer could not see.
#include "ScreensFixture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

class FormViewsTest : public FormsTest {
protected:
    // The view in a phone-sized window, shown as the form set shows it.
    QQuickItem* open(const char* file) {
        engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&engine,
                                QUrl(QStringLiteral("qrc:/Kompaun/qml/%1").arg(QLatin1String(file))));
        root.reset(component.create());
        if (!root) {
            ADD_FAILURE() << qPrintable(component.errorString());
            return nullptr;
        }
        auto* item = qobject_cast<QQuickItem*>(root.get());
        item->setParentItem(window.contentItem());
        item->setSize(QSizeF(360, 640));
        window.resize(360, 640);
        window.show();
        if (item->metaObject()->indexOfSignal("appearing()") >= 0)
            QMetaObject::invokeMethod(item, "appearing");
        return item;
    }
    // As the officer's scripts find items: through the visual tree (a repeater's rows are not QObject
    // children).
    static QQuickItem* find(QQuickItem* from, const QString& name) {
        if (from->objectName() == name)
            return from;
        for (QQuickItem* child : from->childItems())
            if (QQuickItem* found = find(child, name))
                return found;
        return nullptr;
    }
    QQuickItem* item(const QString& name) {
        QQuickItem* found = find(qobject_cast<QQuickItem*>(root.get()), name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    void tap(QQuickItem* target) {
        ASSERT_TRUE(target);
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(&window, Qt::LeftButton, {}, centre.toPoint());
    }
    // The officer's thumb brings a row into sight.
    void bringIntoSight(QQuickItem* target) {
        auto* page = qobject_cast<QQuickItem*>(flickable());
        const qreal top =
            target->mapToItem(page->property("contentItem").value<QQuickItem*>(), QPointF()).y();
        const qreal end = page->property("contentHeight").toReal() - page->height();
        page->setProperty("contentY", std::min(end, std::max(0.0, top - 200)));
    }
    qreal scrolled() { return QQmlProperty::read(flickable(), QStringLiteral("contentY")).toReal(); }
    QObject* flickable() { return root->findChild<QQuickItem*>(QStringLiteral("formPage")); }
    void type(const char* text) {
        for (const char* c = text; *c; ++c)
            QTest::keyClick(&window, *c);
    }
    int hints(const QString& name) {
        QQuickItem* field = item(name);
        return field ? field->property("inputMethodHints").toInt() : -1;
    }

    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QObject> root;
};

TEST_F(FormViewsTest, RowsCarryTheirNamesAndKeyboards) {
    ASSERT_TRUE(open("MaklumatPersalahView.qml"));
    EXPECT_TRUE(hints(QStringLiteral("noKadPengenalanPesalahField")) & Qt::ImhDigitsOnly);
    EXPECT_TRUE(hints(QStringLiteral("poskodPenerimaField")) & Qt::ImhDigitsOnly);
    EXPECT_EQ(hints(QStringLiteral("namaPesalahField")), int(Qt::ImhNone));
    for (const char* name : {"pilihanIndividuButton", "pilihanSyarikatButton", "samaDiatasButton",
                             "negeriPesalahPick", "negeriPenerimaField"})
        item(QLatin1String(name));

    // Typed on the keys, upper-cased into the record when the editing ends.
    tap(item(QStringLiteral("namaPesalahField")));
    type("tan ah kow");
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(rec(Key::namaPesalah), QStringLiteral("TAN AH KOW"));
    tap(item(QStringLiteral("pilihanSyarikatButton")));
    EXPECT_EQ(rec(Key::pilihanIndividuAtauSyarikat), QStringLiteral("syarikat"));

    root.reset();
    ASSERT_TRUE(open("KenderaanTabView.qml"));
    for (const char* plate :
         {"kenderaanNoKenderaanField", "kenderaanNoChasisField", "kenderaanNoCukaiJalanField"})
        EXPECT_TRUE(hints(QLatin1String(plate)) & Qt::ImhUppercaseOnly) << plate;
}

TEST_F(FormViewsTest, TappingAPickFieldOpensItsListAndALongListNarrows) {
    ASSERT_TRUE(open("MaklumatPersalahView.qml"));
    QQuickItem* state = item(QStringLiteral("negeriPesalahField"));
    bringIntoSight(state);
    tap(state);
    ASSERT_TRUE(sheet.isOpen());
    EXPECT_FALSE(state->hasActiveFocus());
    // Sixteen states: the list narrows to what is typed, in any case, and the narrowed row is the pick.
    EXPECT_TRUE(sheet.filterable());
    sheet.setFilter(QStringLiteral("sel"));
    ASSERT_EQ(sheet.model()->count(), 1);
    sheet.didSelectRow(0);
    EXPECT_EQ(rec(Key::negeriPesalah), QStringLiteral("SELANGOR"));
    expectRecord({{Key::negeriPesalahID, "10"}});

    // The next list starts unfiltered.
    bringIntoSight(item(QStringLiteral("negeriPenerimaPick")));
    tap(item(QStringLiteral("negeriPenerimaPick")));
    ASSERT_TRUE(sheet.isOpen());
    EXPECT_EQ(sheet.filter(), QString());
    EXPECT_GT(sheet.model()->count(), 10);
    sheet.cancel();
}

TEST_F(FormViewsTest, TheFilterIsTypedOnTheSheet) {
    // The window's sheet is the one the officer taps here.
    TextField target;
    ASSERT_TRUE(open("DropDownMenuView.qml"));
    QQuickItem* filter = item(QStringLiteral("pickFilter"));
    ASSERT_TRUE(core.openDropDownList({{QStringLiteral("A"), QStringLiteral("1")}}, QStringLiteral("Pendek"),
                                      &target, QStringLiteral("t")));
    EXPECT_FALSE(filter->isVisible());
    tap(item(QStringLiteral("pickCancel")));
    root.reset();

    PickList many;
    for (int i = 0; i < 25; ++i)
        many.append({QStringLiteral("MODEL %1").arg(i), QString::number(i)});
    ASSERT_TRUE(open("DropDownMenuView.qml"));
    filter = item(QStringLiteral("pickFilter"));
    ASSERT_TRUE(core.openDropDownList(many, QStringLiteral("Jenis Model"), &target, QStringLiteral("t")));
    ASSERT_TRUE(filter->isVisible());
    tap(filter);
    type("model 2");
    // MODEL 2 and MODEL 20 to 24.
    EXPECT_EQ(item(QStringLiteral("pickRows"))->property("count").toInt(), 6);
    tap(item(QStringLiteral("pickRow0")));
    EXPECT_EQ(target.text(), QStringLiteral("MODEL 2"));
}

TEST_F(FormViewsTest, TheFormMovesOnlyToShowAHiddenField) {
    ASSERT_TRUE(open("MaklumatPersalahView.qml"));
    ASSERT_TRUE(flickable());
    // A field in sight takes the keyboard where it is.
    tap(item(QStringLiteral("alamat1PesalahField")));
    EXPECT_EQ(scrolled(), 0);

    // A field below the edge comes just into sight, no further.
    QQuickItem* town = item(QStringLiteral("alamat3PenerimaField"));
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
    tap(item(QStringLiteral("negeriPenerimaField")));
    ASSERT_TRUE(sheet.isOpen());
    pick(QStringLiteral("PERLIS"));
    EXPECT_EQ(scrolled(), end);
}

} // namespace
