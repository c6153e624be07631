import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// A labelled text field bound both ways to a controller's TextField.
TextField {
    id: control
    property FieldText field
    property string placeholder
    property bool secret: false

    function takeFocus() { forceActiveFocus() }

    Layout.fillWidth: true
    // The layout gives the width, not the text: text-sized widths laid out again without end.
    Layout.preferredWidth: 1
    Layout.preferredHeight: Theme.fieldHeight
    placeholderText: control.placeholder
    placeholderTextColor: Theme.muted
    echoMode: control.secret ? TextInput.Password : TextInput.Normal
    font.pixelSize: Theme.font
    text: control.field ? control.field.text : ""
    onTextEdited: if (control.field) control.field.text = control.text
    background: Rectangle {
        radius: 6
        color: "white"
        border.color: control.activeFocus ? Theme.accent : Theme.fieldBorder
        border.width: control.activeFocus ? 2 : 1
    }
}
