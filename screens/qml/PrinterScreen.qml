import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// "Pencetak": the printer's connection state, connect/disconnect and the test page.
Rectangle {
    objectName: "printerScreen"
    color: Theme.page
    readonly property var printer: AppContext.printer

    ColumnLayout {
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 24 }
        spacing: Theme.gap

        Image {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 12
            source: AppContext.picture("185-printer.png")
            sourceSize { width: 96; height: 96 }
            width: 96; height: 96
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Status pencetak"
            color: Theme.muted
            font.pixelSize: 13
        }
        Text {
            objectName: "printerStatus"
            Layout.alignment: Qt.AlignHCenter
            text: printer.status === "" ? "-" : printer.status
            color: printer.statusColor === "green" ? "#15803d" : (printer.statusColor === "red" ? Theme.danger : "#111827")
            font { pixelSize: 24; bold: true }
        }
        ActionButton {
            objectName: "pencetakSambung"
            Layout.topMargin: 12
            text: printer.buttonTitle
            onClicked: printer.pencetakAction()
        }
        ActionButton {
            objectName: "printTestPage"
            secondary: true
            text: "Cetak Ujian"
            onClicked: printer.printr()
        }
    }
}
