import QtQuick
import QtQuick.Controls
import Kompaun

// The modal progress overlay: blocks every screen beneath it while long work runs.
Rectangle {
    objectName: "progressOverlay"
    readonly property var progress: AppContext.progress
    visible: progress.visible
    color: "#80000000"
    MouseArea { anchors.fill: parent; hoverEnabled: true }
    Rectangle {
        anchors.centerIn: parent
        width: 220
        height: column.implicitHeight + 32
        radius: 10
        color: "#e6111827"
        Column {
            id: column
            anchors.centerIn: parent
            spacing: 10
            BusyIndicator { anchors.horizontalCenter: parent.horizontalCenter; running: parent.visible }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: progress.label
                color: "white"
                font { pixelSize: 16; bold: true }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: text !== ""
                text: progress.detail
                color: "#d1d5db"
                font.pixelSize: 13
            }
        }
    }
}
