import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// Shows the alert at the head of the queue; a tap on a button answers it with the button's index.
Rectangle {
    id: dialog
    objectName: "alertDialog"
    readonly property Alerts alerts: AppContext.alerts
    visible: dialog.alerts !== null && dialog.alerts.visible
    color: "#80000000"
    MouseArea { anchors.fill: parent; hoverEnabled: true }
    Rectangle {
        anchors.centerIn: parent
        width: parent.width - 56
        height: content.implicitHeight
        radius: 12
        color: "white"
        ColumnLayout {
            id: content
            width: parent.width
            spacing: 0
            Text {
                objectName: "alertTitle"
                Layout.fillWidth: true
                Layout.topMargin: 18
                // A question with no message (the photo source choice) keeps no empty line under its title.
                Layout.bottomMargin: messageText.visible ? 0 : 18
                horizontalAlignment: Text.AlignHCenter
                text: dialog.alerts ? dialog.alerts.title : ""
                font { pixelSize: 17; bold: true }
                color: "#111827"
            }
            Text {
                id: messageText
                objectName: "alertMessage"
                visible: text.length > 0
                Layout.fillWidth: true
                Layout.margins: 16
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: dialog.alerts ? dialog.alerts.message : ""
                font.pixelSize: 14
                color: "#374151"
            }
            Rectangle { Layout.fillWidth: true; height: 1; color: "#e5e7eb" }
            // Two buttons side by side; three or more one above the other, so long labels stay whole.
            GridLayout {
                Layout.fillWidth: true
                columns: dialog.alerts && dialog.alerts.buttons.length > 2 ? 1 : 2
                rowSpacing: 0
                columnSpacing: 0
                Repeater {
                    model: dialog.alerts ? dialog.alerts.buttons : []
                    delegate: Button {
                        id: button
                        required property int index
                        required property string modelData
                        objectName: "alertButton" + index
                        Layout.fillWidth: true
                        Layout.preferredHeight: 48
                        flat: true
                        contentItem: Text {
                            text: button.modelData
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            elide: Text.ElideRight
                            color: Theme.accent
                            font { pixelSize: 16; bold: button.index > 0 || AppContext.alerts.buttons.length === 1 }
                        }
                        background: Rectangle { color: button.down ? "#f3f4f6" : "transparent" }
                        onClicked: AppContext.alerts.answer(button.index)
                    }
                }
            }
        }
    }
}
