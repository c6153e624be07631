import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// A form's rows, each drawn by its kind from the form's table. Every item is named after the row's
// record key: `<key>Field`, `<key>Pick`, `<key>Button`.
Repeater {
    id: rows
    property FormViewController form: null
    // Nothing is edited, picked or done in a stored compound.
    readonly property bool active: rows.form !== null && !rows.form.preview
    // The hint column as the phone's keyboards.
    function keyboard(hint: int): int {
        if (hint === FormRowType.Digits)
            return Qt.ImhDigitsOnly
        if (hint === FormRowType.Capitals)
            return Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
        return Qt.ImhNone
    }
    model: rows.form ? rows.form.fields : null

    // The rows' parts are drawn inside the row's loader and name the row and the repeater from there.
    // qmllint disable unqualified
    delegate: Loader {
        id: row
        required property int kind
        required property string key
        required property string label
        required property int hint
        required property FieldText field
        required property bool emphasised
        required property list<string> options
        required property bool shown
        required property bool marked
        required property bool fromPicture
        Layout.fillWidth: true
        visible: row.shown && (row.kind !== FormRowType.Action || rows.active)
        sourceComponent: {
            switch (row.kind) {
            case FormRowType.Pick: return pickRow
            case FormRowType.Switch: return switchRow
            case FormRowType.MultiLine: return multiLineRow
            case FormRowType.Value: return valueRow
            case FormRowType.Heading: return headingRow
            case FormRowType.Action: return actionRow
            }
            return textRow
        }

        Component {
            id: textRow
            FormTextRow {
                caption: row.label
                marked: row.marked
                name: row.key + "Field"
                markName: row.key + "Dibaca"
                fromPicture: row.fromPicture
                field: row.field
                form: rows.form
                editable: rows.active
                hints: rows.keyboard(row.hint)
            }
        }
        Component {
            id: pickRow
            FormPickRow {
                caption: row.label
                marked: row.marked
                name: row.key + "Field"
                pickName: row.key + "Pick"
                field: row.field
                active: rows.active
                onPick: rows.form.pick(row.key)
            }
        }
        Component {
            id: switchRow
            RowLayout {
                spacing: 0
                Repeater {
                    model: row.options
                    SegmentButton {
                        id: segment
                        required property string modelData
                        required property int index
                        // The segments keep the names the officer's scripts use.
                        objectName: "pilihan" + segment.modelData + "Button"
                        text: segment.modelData
                        enabled: rows.active
                        checked: row.field !== null && row.field.text === segment.modelData.toLowerCase()
                        onClicked: rows.form.choose(row.key, segment.index)
                    }
                }
            }
        }
        Component {
            id: multiLineRow
            ColumnLayout {
                spacing: 3
                Text { text: row.label; font.pixelSize: 13; color: Theme.muted }
                TextArea {
                    id: area
                    objectName: row.key + "Field"
                    Layout.fillWidth: true
                    // Wrapped text measures its width by the width it is given: the layout decides it alone.
                    Layout.preferredWidth: 1
                    Layout.minimumHeight: 88
                    wrapMode: TextEdit.Wrap
                    readOnly: !rows.active
                    inputMethodHints: rows.keyboard(row.hint)
                    font.pixelSize: Theme.font
                    color: Theme.text
                    text: row.field ? row.field.text : ""
                    onTextChanged: if (area.activeFocus && row.field) row.field.text = area.text
                    onEditingFinished: rows.form.textFieldDidEndEditing(row.field)
                    background: Rectangle {
                        radius: 6
                        color: "white"
                        border.color: area.activeFocus ? Theme.accent : Theme.fieldBorder
                        border.width: area.activeFocus ? 2 : 1
                    }
                }
            }
        }
        Component {
            id: valueRow
            FormValueRow {
                caption: row.label
                name: row.key + "Field"
                field: row.field
                emphasised: row.emphasised
            }
        }
        Component {
            id: headingRow
            FormHeading { text: row.label }
        }
        Component {
            id: actionRow
            ActionButton {
                objectName: row.key + "Button"
                // The loader gives no layout height: the button keeps a finger's.
                implicitHeight: Theme.fieldHeight
                secondary: true
                text: row.label
                onClicked: rows.form.action(row.key)
            }
        }
    }
    // qmllint enable unqualified
}
