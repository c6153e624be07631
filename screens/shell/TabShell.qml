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

        Repeater {
            model: AppContext.shell.tabs
            NavStack {
                id: stack
                required property int index
                required property var modelData
                objectName: stack.modelData.name
                navigation: AppContext.shell.stack(stack.index)
                active: AppContext.shell.signedIn && AppContext.shell.currentIndex === stack.index
            }
        }
    }

    Rectangle {
        id: tabs
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 62
        color: "white"
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: Theme.line }
        Row {
            anchors.fill: parent
            Repeater {
                model: AppContext.shell.tabs
                delegate: MouseArea {
                    id: tab
                    required property int index
                    required property var modelData
                    readonly property bool selected: AppContext.shell.currentIndex === index
                    objectName: "tab" + index
                    width: parent ? parent.width / AppContext.shell.tabs.length : 0
                    height: parent ? parent.height : 0
                    onClicked: AppContext.shell.tabBarControllerDidSelect(tab.index)
                    Column {
                        anchors.centerIn: parent
                        width: parent.width
                        spacing: 2
                        Image {
                            anchors.horizontalCenter: parent.horizontalCenter
                            source: AppContext.picture(tab.modelData.picture)
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
                            text: tab.modelData.title
                            font { pixelSize: 12; bold: tab.selected }
                            color: tab.selected ? Theme.bar : Theme.muted
                        }
                    }
                }
            }
        }
    }
}
