import QtQuick
import QtQuick.Controls
import Kompaun

// A list of title-and-subtitle rows. With canSave, a row swiped left shows its action ("Simpan" unless
// told otherwise).
ListView {
    id: list
    property string rowName: "row"
    property bool canSave: false
    property string actionText: "Simpan"
    property string actionName: "simpanButton"
    property color actionColor: Theme.accent
    signal chosen(int index)
    signal saved(int index)
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    ScrollIndicator.vertical: ScrollIndicator {}

    delegate: SwipeDelegate {
        id: row
        required property int index
        required property string title
        required property string subtitle
        readonly property SubtitleList owner: row.ListView.view as SubtitleList
        objectName: (row.owner ? row.owner.rowName : "row") + row.index
        width: row.owner ? row.owner.width : 0
        leftInset: 0
        rightInset: 0
        leftPadding: 14
        rightPadding: 14
        topPadding: 9
        bottomPadding: 9
        swipe.enabled: row.owner !== null && row.owner.canSave
        onClicked: if (row.owner) row.owner.chosen(row.index)
        background: Rectangle {
            color: row.down ? Theme.line : Theme.card
            Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 14 }
                        height: 1; color: Theme.line }
        }
        contentItem: Column {
            spacing: 3
            Text {
                width: parent.width
                text: row.title
                wrapMode: Text.WordWrap
                font { pixelSize: 15; bold: true }
                color: Theme.text
            }
            Text {
                width: parent.width
                visible: row.subtitle !== ""
                text: row.subtitle
                wrapMode: Text.WordWrap
                maximumLineCount: 3
                elide: Text.ElideRight
                font.pixelSize: 13
                color: Theme.muted
            }
        }
        // The swipe action is made from this component by the row itself; the row's id resolves from here.
        // qmllint disable unqualified
        swipe.right: Button {
            objectName: (row.owner ? row.owner.actionName : "simpanButton") + row.index
            height: row.height
            anchors.right: parent ? parent.right : undefined
            width: 96
            // Saving or deleting reads the list again, which takes this row away: nothing of the row is
            // touched once the list has been told.
            onClicked: {
                const owner = row.owner
                const index = row.index
                row.swipe.close()
                if (owner)
                    owner.saved(index)
            }
            contentItem: Text {
                text: row.owner ? row.owner.actionText : "Simpan"
                color: "white"
                font { pixelSize: 15; bold: true }
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle { color: row.owner ? row.owner.actionColor : Theme.accent }
        }
        // qmllint enable unqualified
    }
}
