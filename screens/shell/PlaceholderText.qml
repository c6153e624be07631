import QtQuick
import Kompaun

// A note in the middle of a screen whose content is still to come.
Column {
    property string heading
    property string message
    anchors.centerIn: parent
    width: parent ? parent.width - 48 : 0
    spacing: 8
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        text: parent.heading
        font { pixelSize: 20; bold: true }
        color: Theme.text
    }
    Text {
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: parent.message
        font.pixelSize: 14
        color: Theme.muted
    }
}
