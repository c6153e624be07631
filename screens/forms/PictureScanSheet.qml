import QtQuick
import QtQuick.Layouts
import Kompaun

// The scan folder's pictures for "Imbas MyKad" and "Imbas Plat" on a phone without a camera: one is
// chosen and read, or "Batal" closes the list.
Rectangle {
    id: sheet
    property PictureScan scan: null
    objectName: "scanPictureSheet"
    visible: sheet.scan !== null && sheet.scan.picturesShown
    color: "#80000000"
    // Taps outside the panel do not reach the form below.
    MouseArea { anchors.fill: parent }

    Rectangle {
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: panel.implicitHeight + 2 * Theme.gap
        color: Theme.page
        radius: 10
        ColumnLayout {
            id: panel
            anchors { fill: parent; margins: Theme.gap }
            spacing: Theme.gap
            Text {
                Layout.fillWidth: true
                text: "Pilih gambar untuk diimbas"
                font { pixelSize: Theme.font; bold: true }
                color: Theme.bar
            }
            SubtitleList {
                objectName: "scanPictureList"
                Layout.fillWidth: true
                Layout.preferredHeight: Math.min(contentHeight, 260)
                rowName: "scanPictureRow"
                model: sheet.scan ? sheet.scan.pictures : null
                onChosen: (index) => sheet.scan.pictureChosen(index)
            }
            Text {
                objectName: "scanPictureNote"
                Layout.fillWidth: true
                visible: sheet.scan !== null && sheet.scan.picturesNote !== ""
                text: sheet.scan ? sheet.scan.picturesNote : ""
                wrapMode: Text.WordWrap
                font.pixelSize: 13
                color: Theme.muted
            }
            ActionButton {
                objectName: "scanPictureBatalButton"
                secondary: true
                text: "Batal"
                onClicked: sheet.scan.cancel()
            }
        }
    }
}
