#include "ScreensFixture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(KompaunPlugin)

using LoginReturnKey = ScreensTest;

// Return in the device-id field of an unregistered phone puts the keyboard away and registers nothing:
// registration (which also re-seeds the running number) takes the "Daftar Device" button.
TEST_F(LoginReturnKey, ReturnInTheDeviceIdFieldOnlyDismissesTheKeyboard) {
    OfficerLogin login{core};
    QStringList registered;
    LoginViewController screen{core, login, {{}, [&](const QString& id) { registered << id; }, {}}};
    ShellController shell{core, screen};
    // The window's login screen is this one.
    AppContext loginContext{services.services({.login = &screen, .shell = &shell})};
    ASSERT_FALSE(screen.registeredLayout());

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/Kompaun/qml/LoginScreen.qml")));
    std::unique_ptr<QObject> root(component.create());
    ASSERT_TRUE(root) << qPrintable(component.errorString());
    QQuickWindow window;
    window.resize(320, 568);
    auto* item = qobject_cast<QQuickItem*>(root.get());
    ASSERT_TRUE(item);
    item->setParentItem(window.contentItem());
    item->setSize(QSizeF(320, 568));
    window.show();
    auto* field = root->findChild<QQuickItem*>(QStringLiteral("deviceIDField"));
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->isVisible());

    field->forceActiveFocus();
    ASSERT_TRUE(field->hasActiveFocus());
    for (char key : {'M', '0', '7'})
        QTest::keyClick(&window, key, key == 'M' ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(screen.deviceID()->text(), QStringLiteral("M07"));
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(registered.isEmpty());
    EXPECT_FALSE(field->hasActiveFocus());

    // The button still registers what was typed.
    auto* button = root->findChild<QObject*>(QStringLiteral("btnDaftarDevice"));
    ASSERT_TRUE(button);
    QMetaObject::invokeMethod(button, "clicked");
    EXPECT_EQ(registered, QStringList{QStringLiteral("M07")});
}
