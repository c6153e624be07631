import QtQuick
import QtQuick.Controls
import Kompaun

// The rows of the pick list; a tapped row is reported by its index.
ListView {
    id: list
    signal picked(int index)
    clip: true
    // Every row of a list of this size exists, so a row far down can be found and scrolled to.
    cacheBuffer: 4000
    delegate: ItemDelegate {
        id: row
        required property int index
        required property string title
        objectName: "pickRow" + row.index
        width: ListView.view ? ListView.view.width : 0
        // A finger's height at least; a long label wraps and the row grows.
        implicitHeight: Math.max(48, row.implicitContentHeight + row.topPadding + row.bottomPadding)
        topPadding: 13
        bottomPadding: 13
        leftPadding: 16
        rightPadding: 16
        contentItem: Text {
            text: row.title
            wrapMode: Text.WordWrap
            verticalAlignment: Text.AlignVCenter
            font.pixelSize: Theme.font
            color: Theme.text
        }
        background: Rectangle {
            color: row.down ? Theme.line : "white"
            Rectangle {
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 16 }
                height: 1
                color: Theme.line
            }
        }
        onClicked: (row.ListView.view as PickRows).picked(row.index)
    }
}
