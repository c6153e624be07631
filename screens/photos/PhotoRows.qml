import QtQuick
import QtQuick.Controls
import Kompaun

// Photo rows: the thumbnail and the title. With editable, a row swiped left shows "Padam".
ListView {
    id: list
    property bool editable: false
    signal chosen(int index)
    signal deleted(int index)
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    ScrollIndicator.vertical: ScrollIndicator {}

    delegate: SwipeDelegate {
        id: row
        required property int index
        required property string title
        required property string picture
        readonly property PhotoRows owner: row.ListView.view as PhotoRows
        objectName: "imageRow" + row.index
        width: row.owner ? row.owner.width : 0
        height: 84
        padding: 0
        swipe.enabled: row.owner !== null && row.owner.editable
        onClicked: if (row.owner) row.owner.chosen(row.index)
        background: Rectangle {
            color: row.down ? Theme.line : Theme.card
            Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 92 }
                        height: 1; color: Theme.line }
        }
        contentItem: Row {
            leftPadding: 10
            spacing: 12
            Image {
                objectName: "imageThumbnail" + row.index
                anchors.verticalCenter: parent.verticalCenter
                width: 72
                height: 72
                sourceSize.width: 144
                sourceSize.height: 144
                fillMode: Image.PreserveAspectFit
                source: row.picture
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: row.width - 72 - 10 - 12 - 36
                text: row.title
                font { pixelSize: 15; bold: true }
                color: Theme.text
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: "›"
                font.pixelSize: 22
                color: Theme.muted
            }
        }
        // The swipe action is made from this component by the row itself; the row's id resolves from here.
        // qmllint disable unqualified
        swipe.right: Button {
            objectName: "padamButton" + row.index
            height: row.height
            anchors.right: parent ? parent.right : undefined
            width: 96
            onClicked: {
                row.swipe.close()
                if (row.owner)
                    row.owner.deleted(row.index)
            }
            contentItem: Text {
                text: "Padam"
                color: "white"
                font { pixelSize: 15; bold: true }
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle { color: Theme.danger }
        }
        // qmllint enable unqualified
    }
}
