import QtQuick
import QtQuick.Layouts
import Kompaun

// A captioned value the form only shows.
ColumnLayout {
    id: row
    property alias caption: label.text
    property alias name: value.objectName
    property FieldText field
    property bool emphasised: false
    Layout.fillWidth: true
    // Its width is the layout's to give, never the text's: a wrapped text's natural width changes with
    // the width it is given, and two rows side by side would lay each other out again without end.
    Layout.preferredWidth: 1
    spacing: 2

    Text {
        id: label
        Layout.fillWidth: true
        font.pixelSize: 13
        color: Theme.muted
    }
    Text {
        id: value
        Layout.fillWidth: true
        wrapMode: Text.Wrap
        text: row.field && row.field.text !== "" ? row.field.text : "-"
        font { pixelSize: Theme.font; bold: row.emphasised }
        color: Theme.text
    }
}
