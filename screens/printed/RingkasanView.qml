import QtQuick
import QtQuick.Controls
import Kompaun

// "Ringkasan": one Kuala Lumpur day's compounds at a glance (today, or an earlier day still on the
// phone), and "Cetak Ringkasan" for the hand-over slip.
ScreenPage {
    id: screen
    objectName: "ringkasanView"
    RingkasanViewController {
        id: controller
        context: AppContext
    }
    onAppearing: controller.viewWillAppear()

    // A line of the figures: what it counts on the left, the figure on the right.
    component Figure: Rectangle {
        id: figure
        property string label
        property string value
        property string valueName
        property bool warn: false
        width: parent ? parent.width : 0
        height: Math.max(Theme.fieldHeight, labelText.implicitHeight + 16)
        color: Theme.card
        Text {
            id: labelText
            anchors { left: parent.left; right: valueText.left; verticalCenter: parent.verticalCenter
                      leftMargin: 14; rightMargin: 8 }
            text: figure.label
            wrapMode: Text.WordWrap
            font.pixelSize: Theme.font
            color: Theme.text
        }
        Text {
            id: valueText
            objectName: figure.valueName
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 14 }
            text: figure.value
            font { pixelSize: Theme.font; bold: true }
            color: figure.warn ? Theme.danger : Theme.text
        }
        Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 14 }
                    height: 1; color: Theme.line }
    }

    ListView {
        id: days
        objectName: "ringkasanDays"
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 8 }
        height: 48
        orientation: ListView.Horizontal
        spacing: 6
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: controller.dayLabels
        currentIndex: controller.dayIndex
        delegate: Button {
            id: day
            required property int index
            required property string modelData
            objectName: "ringkasanDay" + day.index
            height: 48
            checked: day.ListView.isCurrentItem
            // The page's controller, from inside the list's delegate.
            // qmllint disable unqualified
            onClicked: controller.chooseDay(day.index)
            // qmllint enable unqualified
            contentItem: Text {
                text: day.modelData
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                font { pixelSize: Theme.font; bold: day.checked }
                color: day.checked ? "white" : Theme.bar
            }
            background: Rectangle {
                radius: 6
                color: day.checked ? Theme.bar : "white"
                border.color: Theme.bar
            }
        }
    }

    Flickable {
        id: page
        objectName: "ringkasanPage"
        anchors { left: parent.left; right: parent.right; top: days.bottom; bottom: printBar.top; topMargin: 8 }
        contentWidth: width
        contentHeight: figures.implicitHeight + Theme.gap
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollIndicator.vertical: ScrollIndicator {}

        Column {
            id: figures
            width: page.width
            spacing: 0

            Figure { label: "Kompaun dikeluarkan"; value: String(controller.issued); valueName: "ringkasanIssued" }
            Figure { label: "Berkuat kuasa"; value: String(controller.inForce); valueName: "ringkasanInForce" }
            Figure { label: "Jumlah kadar"; value: controller.kadarTotal; valueName: "ringkasanKadar" }
            Figure { label: "Jumlah kadar tawaran"; value: controller.tawaranTotal; valueName: "ringkasanTawaran" }
            Figure {
                label: "Dibatalkan (tidak dijumlahkan)"
                value: String(controller.cancelled)
                valueName: "ringkasanCancelled"
            }
            Figure {
                label: "Amaun bukan perpuluhan (tidak dijumlahkan)"
                value: String(controller.unreadable.length)
                valueName: "ringkasanUnreadable"
                warn: controller.unreadable.length > 0
            }
            Repeater {
                model: controller.unreadable
                delegate: Text {
                    id: unreadableLine
                    required property int index
                    required property string modelData
                    objectName: "ringkasanUnreadableLine" + unreadableLine.index
                    x: 14
                    width: unreadableLine.parent ? unreadableLine.parent.width - 28 : 0
                    topPadding: 4
                    bottomPadding: 4
                    text: unreadableLine.modelData
                    wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                    font.pixelSize: Theme.font
                    color: Theme.danger
                }
            }
            Figure {
                label: "Belum dimuat naik"
                value: String(controller.waiting)
                valueName: "ringkasanWaiting"
                warn: controller.waiting > 0
            }
            Figure { label: "Paling lama menunggu"; value: controller.oldestWaiting; valueName: "ringkasanOldest" }
            Figure { label: "Gambar"; value: String(controller.photos); valueName: "ringkasanPhotos" }
            Text {
                objectName: "ringkasanUndated"
                visible: controller.undated > 0
                x: 14
                width: figures.width - 28
                topPadding: 6
                text: controller.undated + " kompaun tanpa tarikh yang sah tidak termasuk dalam mana-mana hari."
                wrapMode: Text.WordWrap
                font.pixelSize: Theme.font
                color: Theme.danger
            }

            Text {
                x: 14
                topPadding: 14
                bottomPadding: 6
                text: "Mengikut jenis kompaun"
                font { pixelSize: 16; bold: true }
                color: Theme.bar
            }
            Text {
                objectName: "ringkasanNoTypes"
                visible: controller.types.length === 0
                x: 14
                text: "Tiada kompaun berkuat kuasa pada hari ini."
                font.pixelSize: Theme.font
                color: Theme.muted
            }
            Repeater {
                model: controller.types
                delegate: Rectangle {
                    id: typeRow
                    required property int index
                    required property var modelData
                    objectName: "ringkasanType" + typeRow.index
                    width: typeRow.parent ? typeRow.parent.width : 0
                    height: typeText.implicitHeight + 16
                    color: Theme.card
                    Column {
                        id: typeText
                        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter
                                  leftMargin: 14; rightMargin: 14 }
                        spacing: 2
                        Text {
                            width: parent.width
                            text: typeRow.modelData.type
                            wrapMode: Text.WordWrap
                            font { pixelSize: Theme.font; bold: true }
                            color: Theme.text
                        }
                        Text {
                            objectName: "ringkasanTypeFigures" + typeRow.index
                            width: parent.width
                            text: typeRow.modelData.count + " kompaun · " + typeRow.modelData.kadar
                                  + " · tawaran " + typeRow.modelData.tawaran
                            wrapMode: Text.WordWrap
                            font.pixelSize: Theme.font
                            color: Theme.secondaryText
                        }
                    }
                    Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 14 }
                                height: 1; color: Theme.line }
                }
            }

            Text {
                x: 14
                topPadding: 14
                bottomPadding: 6
                text: "No kompaun"
                font { pixelSize: 16; bold: true }
                color: Theme.bar
            }
            Text {
                objectName: "ringkasanNoNumbers"
                visible: controller.numbers.length === 0
                x: 14
                text: "Tiada"
                font.pixelSize: Theme.font
                color: Theme.muted
            }
            Repeater {
                model: controller.numbers
                delegate: Text {
                    id: numberLine
                    required property int index
                    required property string modelData
                    objectName: "ringkasanNumber" + numberLine.index
                    x: 14
                    topPadding: 3
                    bottomPadding: 3
                    text: numberLine.modelData
                    font.pixelSize: Theme.font
                    color: Theme.text
                }
            }
        }
    }

    Rectangle {
        id: printBar
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: Theme.fieldHeight + 2 * Theme.gap
        color: Theme.page
        ActionButton {
            objectName: "cetakRingkasanButton"
            anchors { fill: parent; margins: Theme.gap }
            text: controller.printing ? "Mencetak…" : "Cetak Ringkasan"
            enabled: !controller.printing
            onClicked: controller.cetakRingkasan()
        }
    }
}
