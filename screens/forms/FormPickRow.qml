import QtQuick
import QtQuick.Layouts
import Kompaun

// A captioned field filled from a pick list: a tap on the field or on its "Pilih" button opens the
// list; the field is not typed into and never takes the keyboard, so the form stays where it is.
ColumnLayout {
    id: row
    property string caption
    // "Semak" asks for it: a mark after the label.
    property bool marked: false
    property alias name: input.objectName
    property alias pickName: button.objectName
    property FieldText field
    // False in preview mode: no list.
    property bool active: true
    signal pick()
    Layout.fillWidth: true
    spacing: 3

    Text {
        id: label
        Layout.fillWidth: true
        elide: Text.ElideRight
        font.pixelSize: 13
        color: Theme.muted
        textFormat: Text.StyledText
        text: row.marked ? row.caption + " <font color=\"" + Theme.requiredMark + "\"><b>*</b></font>" : row.caption
    }
    RowLayout {
        Layout.fillWidth: true
        spacing: 6
        FormField {
            id: input
            field: row.field
            enabled: row.active
            readOnly: true
            activeFocusOnPress: false
            color: Theme.text
            // A long text shows from its start.
            onTextChanged: input.cursorPosition = 0
            MouseArea {
                anchors.fill: parent
                enabled: row.active
                onClicked: row.pick()
            }
        }
        ActionButton {
            id: button
            Layout.fillWidth: false
            Layout.preferredWidth: 72
            secondary: true
            enabled: row.active
            text: "Pilih ▾"
            onClicked: row.pick()
        }
    }
}
