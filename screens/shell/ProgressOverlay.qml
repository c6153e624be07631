import QtQuick
import QtQuick.Controls
import Kompaun

// The modal progress overlay: blocks every screen beneath it while long work runs.
Rectangle {
    id: overlay
    objectName: "progressOverlay"
    readonly property Progress progress: AppContext.progress
    visible: overlay.progress !== null && overlay.progress.visible
    color: Theme.scrim
    MouseArea { anchors.fill: parent; hoverEnabled: true }
    Rectangle {
        anchors.centerIn: parent
        width: 220
        height: column.implicitHeight + 32
        radius: 10
        color: Theme.overlayCard
        Column {
            id: column
            anchors.centerIn: parent
            spacing: 10
            BusyIndicator { anchors.horizontalCenter: parent.horizontalCenter; running: overlay.visible }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: overlay.progress ? overlay.progress.label : ""
                color: "white"
                font { pixelSize: 16; bold: true }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: text !== ""
                text: overlay.progress ? overlay.progress.detail : ""
                color: Theme.fieldBorder
                font.pixelSize: 13
            }
            // Long work that can be given up without losing anything offers "Batal".
            Button {
                objectName: "progressCancel"
                anchors.horizontalCenter: parent.horizontalCenter
                visible: overlay.progress !== null && overlay.progress.cancellable
                text: "Batal"
                onClicked: overlay.progress.cancel()
            }
        }
    }
}
