import QtQuick
import QtQuick.Controls
import Kompaun

// The search bar over a list: "Carian", searched with the keyboard's search key; once typing starts,
// "Batal" brings the full list back and puts the keyboard away.
Rectangle {
    id: bar
    property SearchListController list: null
    height: 60
    color: Theme.searchStrip

    TextField {
        id: field
        objectName: "searchField"
        anchors { left: parent.left; leftMargin: 8; verticalCenter: parent.verticalCenter
                  right: cancel.visible ? cancel.left : parent.right; rightMargin: 8 }
        height: 48
        placeholderText: "Carian"
        placeholderTextColor: Theme.muted
        font.pixelSize: Theme.font
        inputMethodHints: Qt.ImhNoPredictiveText
        EnterKey.type: Qt.EnterKeySearch
        text: bar.list ? bar.list.searchText.text : ""
        onTextEdited: {
            if (!bar.list)
                return
            bar.list.searchText.text = field.text
            bar.list.beginSearch()
        }
        onAccepted: if (bar.list) bar.list.search()
        background: Rectangle {
            radius: 8
            color: "white"
            border.color: field.activeFocus ? Theme.accent : Theme.searchBorder
        }
    }
    ToolButton {
        // A finger-sized target however short its label.
        implicitHeight: 48
        implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
        id: cancel
        objectName: "searchCancel"
        visible: bar.list !== null && bar.list.searching
        anchors { right: parent.right; rightMargin: 4; verticalCenter: parent.verticalCenter }
        contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Batal"; color: Theme.accent; font.pixelSize: Theme.font }
        background: Item {}
        onClicked: if (bar.list) bar.list.cancelSearch()
    }
    Connections {
        target: bar.list
        function onKeyboardDismissed() { field.focus = false }
    }
}
