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
        color: "#111827"
    }
}
