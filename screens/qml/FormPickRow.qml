import QtQuick
import QtQuick.Layouts
import Kompaun

// A captioned field filled from a pick list: the field (typed into only where the form allows it) and
// the "Pilih" button that opens the list.
ColumnLayout {
    id: row
    property alias caption: label.text
    property alias name: input.objectName
    property alias pickName: button.objectName
    property FieldText field
    property FormViewController form
    // Typing allowed (some fields take their text from the list only).
    property bool editable: true
    // False in preview mode: neither typing nor the list.
    property bool active: true
    property bool pickEnabled: row.active
    signal pick()
    Layout.fillWidth: true
    spacing: 3

    Text {
        id: label
        Layout.fillWidth: true
        elide: Text.ElideRight
        font.pixelSize: 13
        color: Theme.muted
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 6
        FormField {
            id: input
            field: row.field
            enabled: row.active
            readOnly: !row.editable
            color: "#111827"
            // A long text shows from its start whenever it is not being typed.
            onTextChanged: if (!input.activeFocus) input.cursorPosition = 0
            onEditingFinished: {
                input.cursorPosition = 0
                if (row.form)
                    row.form.textFieldDidEndEditing(row.field)
            }
        }
        ActionButton {
            id: button
            Layout.fillWidth: false
            Layout.preferredWidth: 72
            secondary: true
            enabled: row.pickEnabled
            text: "Pilih ▾"
            onClicked: row.pick()
        }
    }
}
