import QtQuick
import QtQuick.Controls
import Kompaun

// Rows drawn with the picture of their position; the picture's own caption is small at this height, so
// the row also names what it stands for.
ListView {
    id: list
    signal chosen(int index)
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    delegate: ItemDelegate {
        id: row
        required property int index
        required property string title
        required property string picture
        objectName: "jenisKompaunRow" + row.index
        width: row.ListView.view ? row.ListView.view.width : 0
        height: 60
        padding: 0
        onClicked: (row.ListView.view as PictureList).chosen(row.index)
        background: Rectangle { color: row.down ? Theme.line : Theme.card }
        contentItem: Row {
            leftPadding: 10
            spacing: 12
            Image {
                anchors.verticalCenter: parent.verticalCenter
                width: 52
                height: 52
                sourceSize.width: 88
                sourceSize.height: 88
                fillMode: Image.PreserveAspectFit
                source: row.picture !== "" ? AppContext.picture(row.picture) : ""
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: row.width - 52 - 10 - 12 - 36
                text: row.title
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
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
    }
}
