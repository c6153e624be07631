import QtQuick
import QtQuick.Layouts
import Kompaun

// "Pencetak": the printer's connection state, connect/disconnect, the test page, and a preview of what
// the printer would print.
ScreenPage {
    id: screen
    objectName: "printerScreen"
    readonly property PrinterViewController printer: AppContext.printer
    property string preview: ""
    property int previewCount: 0

    function showPreview(what: string) {
        previewCount += 1
        preview = "image://receipt/" + what + "/" + previewCount
    }

    ColumnLayout {
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 24 }
        spacing: Theme.gap
        visible: screen.preview === "" && screen.printer !== null

        Item {
            Layout.fillWidth: true
            Layout.topMargin: 12
            Layout.preferredHeight: 96
            Image {
                anchors.horizontalCenter: parent.horizontalCenter
                source: AppContext.picture("185-printer.png")
                sourceSize.width: 96
                sourceSize.height: 96
                width: 96
                height: 96
            }
        }
        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: "Status pencetak"
            color: Theme.muted
            font.pixelSize: 13
        }
        Text {
            objectName: "printerStatus"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: screen.printer && screen.printer.status !== "" ? screen.printer.status : "-"
            color: !screen.printer ? Theme.text
                 : screen.printer.state === PrinterViewController.Connected ? Theme.connected
                 : screen.printer.state === PrinterViewController.Disconnected ? Theme.danger : Theme.text
            font { pixelSize: 24; bold: true }
        }
        ActionButton {
            objectName: "pencetakSambung"
            Layout.topMargin: 12
            text: screen.printer ? screen.printer.buttonTitle : ""
            onClicked: screen.printer.pencetakAction()
        }
        ActionButton {
            objectName: "printTestPage"
            secondary: true
            text: "Cetak Ujian"
            onClicked: screen.printer.printr()
        }
        ActionButton {
            objectName: "previewTestPage"
            secondary: true
            text: "Pratonton Cetakan Ujian"
            onClicked: screen.showPreview("test-page")
        }
    }

    // The preview: the receipt as the printer would print it, scrolled with a finger.
    Item {
        anchors.fill: parent
        visible: screen.preview !== ""
        Flickable {
            anchors { left: parent.left; right: parent.right; top: parent.top; bottom: closeBar.top }
            contentHeight: receipt.height + 16
            clip: true
            Image {
                id: receipt
                objectName: "receiptPreview"
                x: 8
                y: 8
                width: parent.width - 16
                fillMode: Image.PreserveAspectFit
                sourceSize.width: 2 * width
                                source: screen.preview
                asynchronous: true
            }
        }
        Rectangle {
            id: closeBar
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
            height: 64
            color: "white"
            ActionButton {
                objectName: "closePreview"
                anchors { fill: parent; margins: 10 }
                text: "Tutup Pratonton"
                onClicked: screen.preview = ""
            }
        }
    }
}
