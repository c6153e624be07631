import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// Shows the alert at the head of the queue; a tap on a button answers it with the button's index.
Rectangle {
    objectName: "alertDialog"
    readonly property var alerts: AppContext.alerts
    visible: alerts.visible
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
                Layout.fillWidth: true
                Layout.topMargin: 18
                horizontalAlignment: Text.AlignHCenter
                text: alerts.title
                font { pixelSize: 17; bold: true }
                color: "#111827"
            }
            Text {
                Layout.fillWidth: true
                Layout.margins: 16
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: alerts.message
                font.pixelSize: 14
                color: "#374151"
            }
            Rectangle { Layout.fillWidth: true; height: 1; color: "#e5e7eb" }
            RowLayout {
                Layout.fillWidth: true
                spacing: 0
                Repeater {
                    model: alerts.buttons
                    delegate: Button {
                        objectName: "alertButton" + index
                        Layout.fillWidth: true
                        Layout.preferredHeight: 46
                        flat: true
                        contentItem: Text {
                            text: modelData
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            color: Theme.accent
                            font { pixelSize: 16; bold: index > 0 || alerts.buttons.length === 1 }
                        }
                        background: Rectangle { color: parent.down ? "#f3f4f6" : "transparent" }
                        onClicked: alerts.answer(index)
                    }
                }
            }
        }
    }
}
