import QtQuick
import QtQuick.Controls
import Kompaun

// Shows the alert at the head of the queue; a tap on a button answers it with the button's index.
Rectangle {
    id: dialog
    objectName: "alertDialog"
    readonly property Alerts alerts: AppContext.alerts
    visible: dialog.alerts !== null && dialog.alerts.visible
    color: Theme.scrim
    MouseArea { anchors.fill: parent; hoverEnabled: true }
    Rectangle {
        anchors.centerIn: parent
        width: parent.width - 56
        height: content.height
        radius: 12
        color: "white"
        // A plain column: wrapped text inside a layout that also sizes the box feeds its own height back
        // and loops.
        Column {
            id: content
            width: parent.width
            Item { width: 1; height: 18 }
            Text {
                objectName: "alertTitle"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: dialog.alerts ? dialog.alerts.title : ""
                font { pixelSize: 17; bold: true }
                color: Theme.text
            }
            // A question with no message (the photo source choice) keeps no empty line under its title.
            Item { width: 1; height: messageText.visible ? 16 : 18 }
            Text {
                id: messageText
                objectName: "alertMessage"
                visible: text.length > 0
                x: 16
                width: parent.width - 32
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: dialog.alerts ? dialog.alerts.message : ""
                font.pixelSize: 14
                color: Theme.secondaryText
            }
            Item { width: 1; height: 16; visible: messageText.visible }
            Rectangle { width: parent.width; height: 1; color: Theme.line }
            // Two buttons side by side; three or more one above the other, so long labels stay whole.
            // Positioned, not laid out: a layout engine here met buttons being destroyed mid-arrangement.
            Grid {
                id: buttonGrid
                width: parent.width
                readonly property int count: dialog.alerts ? dialog.alerts.buttons.length : 0
                columns: count > 2 ? 1 : 2
                Repeater {
                    model: dialog.alerts ? dialog.alerts.buttons : []
                    delegate: Button {
                        id: button
                        required property int index
                        required property string modelData
                        objectName: "alertButton" + index
                        // The grid, from inside the repeater's delegate.
                        // qmllint disable unqualified
                        width: buttonGrid.columns === 1 || buttonGrid.count === 1 ? buttonGrid.width
                                                                                  : buttonGrid.width / 2
                        // qmllint enable unqualified
                        height: 48
                        flat: true
                        // A dialog just shown takes no tap yet: a finger's second tap meant the dialog
                        // before. It looks the same meanwhile; only the tap is ignored.
                        enabled: AppContext.alerts.accepting
                        // Answering leaves the focus where it was: on the field a refusal pointed to.
                        focusPolicy: Qt.NoFocus
                        contentItem: Text {
                            text: button.modelData
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            elide: Text.ElideRight
                            color: Theme.accent
                            font { pixelSize: 16; bold: button.index > 0 || AppContext.alerts.buttons.length === 1 }
                        }
                        background: Rectangle { color: button.down ? Theme.pressed : "transparent" }
                        onClicked: AppContext.alerts.answer(button.index)
                    }
                }
            }
        }
    }
}
