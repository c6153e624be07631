import QtQuick
import Kompaun

// The tabs of the form set, side by side under the bar.
Rectangle {
    id: strip
    property list<string> titles
    property int current: 0
    signal chosen(int index)
    // A finger's height.
    height: 48
    color: Theme.card

    Row {
        anchors.fill: parent
        Repeater {
            model: strip.titles
            delegate: MouseArea {
                id: tab
                required property int index
                required property string modelData
                readonly property FormTabStrip owner: tab.parent ? tab.parent.parent as FormTabStrip : null
                readonly property bool selected: tab.owner !== null && tab.owner.current === tab.index
                objectName: "formTab" + tab.index
                width: tab.owner && tab.owner.titles.length > 0 ? tab.owner.width / tab.owner.titles.length : 0
                height: tab.parent ? tab.parent.height : 0
                onClicked: if (tab.owner) tab.owner.chosen(tab.index)
                Text {
                    anchors.centerIn: parent
                    text: tab.modelData
                    font { pixelSize: 15; bold: tab.selected }
                    color: tab.selected ? Theme.bar : Theme.muted
                }
                Rectangle {
                    anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
                    height: 3
                    color: tab.selected ? Theme.bar : "transparent"
                }
            }
        }
    }
    Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom } height: 1; color: Theme.fieldBorder }
}
