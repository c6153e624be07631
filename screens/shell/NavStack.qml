import QtQml
import QtQuick
import QtQuick.Controls
import Kompaun

// One tab: its bar (back, title, the screen's own buttons) over a StackView that follows the tab's
// NavigationStack. Controllers push and pop on the NavigationStack; this view only shows it.
Item {
    id: root
    property NavigationStack navigation: null
    // True while this tab is the one showing: a screen "appears" only then.
    property bool active: false
    property ScreenPage current: null

    function showCurrent() {
        if (root.active && root.current)
            root.current.appearing()
    }

    onActiveChanged: showCurrent()

    Rectangle {
        id: bar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 52
        color: Theme.bar

        // "‹ Kembali" shrinks to "‹" when the title would otherwise be cut short beside the bar's buttons.
        TextMetrics { id: backLabel; text: "‹ Kembali"; font.pixelSize: 15 }
        readonly property bool roomy: backLabel.width + title.implicitWidth + buttons.width + 40 <= bar.width

        ToolButton {
            // A finger-sized target however short its label.
            implicitHeight: 48
            implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
            id: back
            objectName: "backButton"
            visible: root.navigation !== null && root.navigation.depth > 1
            anchors { left: parent.left; verticalCenter: parent.verticalCenter; leftMargin: 2 }
            contentItem: Text {
                verticalAlignment: Text.AlignVCenter
                text: bar.roomy ? backLabel.text : "‹"
                color: Theme.barText
                font.pixelSize: bar.roomy ? 15 : 24
            }
            background: Item {}
            onClicked: root.navigation.pop()
        }
        Text {
            id: title
            objectName: "barTitle"
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.leftMargin: back.visible ? back.width + 4 : 12
            anchors.rightMargin: buttons.width + 8
            horizontalAlignment: back.visible ? Text.AlignLeft : Text.AlignHCenter
            text: root.navigation ? root.navigation.currentTitle : ""
            elide: Text.ElideRight
            color: Theme.barText
            font { pixelSize: 17; bold: true }
        }
        Loader {
            id: buttons
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 4 }
            sourceComponent: root.current ? root.current.barButtons : null
        }
    }

    StackView {
        id: stack
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: parent.bottom }
        clip: true
        onCurrentItemChanged: {
            root.current = stack.currentItem as ScreenPage
            root.showCurrent()
        }
        Component.onCompleted: {
            if (root.navigation)
                stack.push(Qt.resolvedUrl(root.navigation.rootScreen),
                           { navigation: root.navigation, title: root.navigation.currentTitle },
                           StackView.Immediate)
        }
    }

    Connections {
        target: root.navigation
        function onPushRequested(screen: string, title: string, properties: var) {
            const initial = { navigation: root.navigation, title: title }
            for (const name in properties)
                initial[name] = properties[name]
            stack.push(Qt.resolvedUrl(screen), initial)
        }
        function onPopRequested() { stack.pop() }
        function onPopToRootRequested() { stack.pop(null) }
    }
}
