import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// One segment of a two-way switch.
Button {
    id: segment
    Layout.fillWidth: true
    Layout.preferredHeight: 48
    contentItem: Text {
        text: segment.text
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font { pixelSize: Theme.font; bold: segment.checked }
        color: segment.checked ? "white" : Theme.bar
    }
    background: Rectangle {
        color: segment.checked ? Theme.bar : "white"
        border.color: Theme.bar
        opacity: segment.enabled ? 1 : 0.6
    }
}
