import QtQuick
import QtQuick.Layouts
import Kompaun

// The five tabs, each with its own stack of screens; a tab keeps its screens when another is selected.
Rectangle {
    id: shellView
    objectName: "tabShell"
    color: Theme.page

    StackLayout {
        anchors { left: parent.left; right: parent.right; top: parent.top; bottom: tabs.top }
        currentIndex: AppContext.shell.currentIndex

        NavStack {
            objectName: "compoundTypeTab"
            navigation: AppContext.shell.stack(ShellController.JenisKompaun)
            active: AppContext.shell.signedIn && AppContext.shell.currentIndex === ShellController.JenisKompaun
        }
        NavStack {
            objectName: "favouritesTab"
            navigation: AppContext.shell.stack(ShellController.Simpanan)
            active: AppContext.shell.signedIn && AppContext.shell.currentIndex === ShellController.Simpanan
        }
        NavStack {
            objectName: "printedTab"
            navigation: AppContext.shell.stack(ShellController.Dicetak)
            active: AppContext.shell.signedIn && AppContext.shell.currentIndex === ShellController.Dicetak
        }
        NavStack {
            objectName: "scanTab"
            navigation: AppContext.shell.stack(ShellController.Scan)
            active: AppContext.shell.signedIn && AppContext.shell.currentIndex === ShellController.Scan
        }
        NavStack {
            objectName: "printerTab"
            navigation: AppContext.shell.stack(ShellController.Pencetak)
            active: AppContext.shell.signedIn && AppContext.shell.currentIndex === ShellController.Pencetak
        }
    }

    Rectangle {
        id: tabs
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 62
        color: "white"
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: "#e5e7eb" }
        Row {
            anchors.fill: parent
            Repeater {
                model: AppContext.shell.tabTitles
                delegate: MouseArea {
                    id: tab
                    required property int index
                    required property string modelData
                    readonly property bool selected: AppContext.shell.currentIndex === index
                    objectName: "tab" + index
                    width: parent ? parent.width / 5 : 0
                    height: parent ? parent.height : 0
                    onClicked: AppContext.shell.tabBarControllerDidSelect(tab.index)
                    Column {
                        anchors.centerIn: parent
                        width: parent.width
                        spacing: 2
                        Image {
                            anchors.horizontalCenter: parent.horizontalCenter
                            source: AppContext.picture(AppContext.shell.tabPictures[tab.index])
                            width: 26
                            height: 26
                            sourceSize.width: 52
                            sourceSize.height: 52
                            fillMode: Image.PreserveAspectFit
                            opacity: tab.selected ? 1 : 0.45
                        }
                        // Two lines rather than a shrunken font: every label stays legible on a narrow phone.
                        Text {
                            width: parent.width - 4
                            anchors.horizontalCenter: parent.horizontalCenter
                            horizontalAlignment: Text.AlignHCenter
                            wrapMode: Text.WordWrap
                            maximumLineCount: 2
                            lineHeight: 0.9
                            text: tab.modelData
                            font { pixelSize: 12; bold: tab.selected }
                            color: tab.selected ? Theme.bar : Theme.muted
                        }
                    }
                }
            }
        }
    }
}
