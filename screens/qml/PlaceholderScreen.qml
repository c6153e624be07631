import QtQuick
import Kompaun

// An honest stand-in for a screen that is not built yet.
Rectangle {
    property string heading: "Pencetak"
    property string message: "Skrin ini belum tersedia dalam versi ini."
    color: Theme.page
    Column {
        anchors.centerIn: parent
        width: parent.width - 48
        spacing: 10
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: heading
            font { pixelSize: 20; bold: true }
            color: "#111827"
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: message
            color: Theme.muted
            font.pixelSize: 14
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "(Belum tersedia)"
            color: "#9ca3af"
            font { pixelSize: 12; italic: true }
        }
    }
}
