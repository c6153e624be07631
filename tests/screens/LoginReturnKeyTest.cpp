#include "ScreensFixture.h"

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

    QmlScreen view;
    ASSERT_TRUE(view.open(QStringLiteral("LoginScreen.qml"), {320, 568}));
    QQuickItem* field = view.item(QStringLiteral("deviceIDField"));
    ASSERT_TRUE(field);
    ASSERT_TRUE(field->isVisible());

    field->forceActiveFocus();
    ASSERT_TRUE(field->hasActiveFocus());
    for (char key : {'M', '0', '7'})
        QTest::keyClick(&view.window, key, key == 'M' ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(screen.deviceID()->text(), QStringLiteral("M07"));
    QTest::keyClick(&view.window, Qt::Key_Return);
    EXPECT_TRUE(registered.isEmpty());
    EXPECT_FALSE(field->hasActiveFocus());

    // The button still registers what was typed.
    auto* button = view.item(QStringLiteral("btnDaftarDevice"));
    ASSERT_TRUE(button);
    QMetaObject::invokeMethod(button, "clicked");
    EXPECT_EQ(registered, QStringList{QStringLiteral("M07")});
}
