import QtQuick
import QtQuick.Controls
import Kompaun

// The pick list: a modal sheet over the tabs with the list's title, its items and "Cancel" at the left
// of its bar. One list at a time; what a row writes is the relay's business.
Rectangle {
    id: sheet
    objectName: "pickList"
    DropDownMenuViewController { id: controller; context: AppContext }
    visible: controller.open
    color: Theme.page
    onVisibleChanged: if (sheet.visible) sheet.forceActiveFocus()

    // Nothing beneath reacts while the list shows.
    MouseArea { anchors.fill: parent; hoverEnabled: true }

    Rectangle {
        id: bar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 52
        color: Theme.bar
        ToolButton {
            // A finger-sized target however short its label.
            implicitHeight: 48
            implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
            id: cancel
            objectName: "pickCancel"
            anchors { left: parent.left; verticalCenter: parent.verticalCenter; leftMargin: 4 }
            contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Cancel"; color: Theme.barText; font.pixelSize: 15 }
            background: Item {}
            onClicked: controller.cancel()
        }
        Text {
            objectName: "pickTitle"
            anchors { left: cancel.right; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.rightMargin: cancel.width + 4
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: controller.title
            color: Theme.barText
            font { pixelSize: 17; bold: true }
        }
    }

    // A long list narrows as the officer types.
    FormField {
        id: filter
        objectName: "pickFilter"
        visible: controller.filterable
        anchors { left: parent.left; right: parent.right; top: bar.bottom; margins: 8 }
        height: controller.filterable ? Theme.fieldHeight : 0
        placeholder: "Cari"
        inputMethodHints: Qt.ImhNoPredictiveText
        text: controller.filter
        onTextEdited: controller.filter = filter.text
    }

    PickRows {
        objectName: "pickRows"
        anchors { left: parent.left; right: parent.right; top: controller.filterable ? filter.bottom : bar.bottom }
        anchors { bottom: parent.bottom; topMargin: controller.filterable ? 8 : 0 }
        // Let go while the sheet is closed, so rows still being made for the last list are given up
        // against that list and not against the next one, which may be shorter.
        model: controller.open ? controller.model : null
        onPicked: (index) => controller.didSelectRow(index)
    }
}
