import QtQuick
import QtQuick.Layouts
import Kompaun

// One issuing form as a single scrolling page. A field that takes the keyboard moves only when it would
// be hidden (above the visible area, or under the edge or the keyboard), and then just enough to show
// it; a tap on the background takes the keyboard away.
Flickable {
    id: page
    objectName: "formPage"
    default property alias fields: column.data
    signal backgroundTapped()

    contentWidth: width
    contentHeight: column.implicitHeight + 2 * Theme.gap + 16
    clip: true
    boundsBehavior: Flickable.StopAtBounds

    readonly property Item focused: Window.activeFocusItem
    onFocusedChanged: page.reveal(page.focused)

    function reveal(item: Item) {
        if (!item)
            return
        for (let p = item.parent; p; p = p.parent) {
            if (p === page.contentItem) {
                const margin = 12
                const top = item.mapToItem(page.contentItem, 0, 0).y
                const keyboard = Qt.inputMethod.visible ? Qt.inputMethod.keyboardRectangle.height : 0
                const visibleHeight = Math.max(0, page.height - keyboard)
                const limit = Math.max(0, page.contentHeight - page.height)
                let y = page.contentY
                if (top + item.height + margin > y + visibleHeight)
                    y = top + item.height + margin - visibleHeight
                if (top - margin < y)
                    y = top - margin
                page.contentY = Math.min(Math.max(0, y), limit)
                return
            }
        }
    }
    // The keyboard coming up may cover the field being typed into.
    Connections {
        target: Qt.inputMethod
        function onKeyboardRectangleChanged() { page.reveal(page.focused) }
    }

    MouseArea {
        objectName: "formBackground"
        width: page.contentWidth
        height: Math.max(page.contentHeight, page.height)
        onClicked: {
            page.forceActiveFocus()
            page.backgroundTapped()
        }
    }

    ColumnLayout {
        id: column
        x: 16
        y: Theme.gap
        width: page.width - 32
        spacing: 10
    }
}
