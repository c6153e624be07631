import QtQuick
import QtQuick.Layouts
import Kompaun

// A heading between groups of fields of a form.
Text {
    Layout.fillWidth: true
    Layout.topMargin: 6
    wrapMode: Text.WordWrap
    font { pixelSize: 16; bold: true }
    color: Theme.bar
}
