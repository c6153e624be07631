import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// A labelled text field bound both ways to a controller's TextField.
TextField {
    id: control
    property var field
    property string placeholder
    property bool secret: false

    function takeFocus() { forceActiveFocus() }

    Layout.fillWidth: true
    Layout.preferredHeight: Theme.fieldHeight
    placeholderText: placeholder
    echoMode: secret ? TextInput.Password : TextInput.Normal
    font.pixelSize: Theme.font
    text: field ? field.text : ""
    onTextEdited: if (field) field.text = text
    background: Rectangle {
        radius: 6
        color: "white"
        border.color: control.activeFocus ? Theme.accent : "#d1d5db"
        border.width: control.activeFocus ? 2 : 1
    }
}
