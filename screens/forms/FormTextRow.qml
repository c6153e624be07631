import QtQuick
import QtQuick.Layouts
import Kompaun

// A captioned text field of an issuing form, bound to its controller's field; its end of editing is
// the form's. A field that cannot be edited stays legible.
ColumnLayout {
    id: row
    property string caption
    // "Semak" asks for it: a mark after the label.
    property bool marked: false
    property alias name: input.objectName
    property alias placeholder: input.placeholder
    property FieldText field
    property FormViewController form
    property bool editable: true
    // Read from a picture and not edited since: said beside the caption.
    property bool fromPicture: false
    property alias markName: mark.objectName
    // The keyboard a phone offers.
    property alias hints: input.inputMethodHints
    Layout.fillWidth: true
    spacing: 3

    function next() {
        const following = input.nextItemInFocusChain(true)
        if (following !== null && following !== input)
            following.forceActiveFocus(Qt.TabFocusReason)
        else
            input.focus = false
    }

    RowLayout {
        Layout.fillWidth: true
        Text {
            id: label
            Layout.fillWidth: true
            elide: Text.ElideRight
            font.pixelSize: 13
            color: Theme.muted
            textFormat: Text.StyledText
            text: row.marked ? row.caption + " <font color=\"" + Theme.requiredMark + "\"><b>*</b></font>" : row.caption
        }
        Text {
            id: mark
            visible: row.fromPicture
            text: "Dibaca dari gambar"
            font { pixelSize: 12; italic: true }
            color: Theme.accent
        }
    }
    FormField {
        id: input
        field: row.field
        enabled: row.editable
        color: Theme.text
        // A long text shows from its start whenever it is not being typed.
        onTextChanged: if (!input.activeFocus) input.cursorPosition = 0
        onEditingFinished: {
            input.cursorPosition = 0
            if (row.form)
                row.form.textFieldDidEndEditing(row.field)
        }
        // The keyboard's "next" goes on to the following field, as Tab does; leaving this one ends its
        // editing.
        EnterKey.type: Qt.EnterKeyNext
        Keys.onReturnPressed: row.next()
        Keys.onEnterPressed: row.next()
    }
}
