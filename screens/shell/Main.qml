import QtQuick
import QtQuick.Controls
import Kompaun

// The window: the login screen is its root; the tabs cover it once an officer has signed in.
ApplicationWindow {
    id: window
    objectName: "mainWindow"
    width: 360
    height: 640
    visible: true
    title: "Kompaun " + AppContext.councilName
    color: Theme.page

    LoginScreen {
        anchors.fill: parent
        visible: !AppContext.shell.signedIn
    }

    TabShell {
        anchors.fill: parent
        visible: AppContext.shell.signedIn
    }

    // The pick list, modal over the tabs.
    DropDownMenuView {
        anchors.fill: parent
    }

    // The photo library's picker, modal over the tabs.
    PhotoPickerSheet {
        anchors.fill: parent
    }

    ProgressOverlay {
        anchors.fill: parent
    }

    AlertDialog {
        anchors.fill: parent
    }
}
