import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

Button {
    id: control
    property bool secondary: false
    Layout.fillWidth: true
    // The layout gives the width, not the text: text-sized widths laid out again without end.
    Layout.preferredWidth: 1
    Layout.preferredHeight: Theme.fieldHeight
    font { pixelSize: Theme.font; bold: !secondary }
    contentItem: Text {
        text: control.text
        font: control.font
        color: control.secondary ? Theme.bar : "white"
        opacity: control.enabled ? 1 : 0.45
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: 6
        color: control.secondary ? "white" : (control.down ? Qt.darker(Theme.bar, 1.3) : Theme.bar)
        border.color: Theme.bar
        border.width: control.secondary ? 1 : 0
        opacity: control.enabled ? 1 : 0.45
    }
}
