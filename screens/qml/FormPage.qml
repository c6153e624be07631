import QtQuick
import QtQuick.Layouts
import Kompaun

// One issuing form as a single scrolling page. A field that takes the keyboard is scrolled to stand
// 60 px below the top of the visible area; a tap on the background takes the keyboard away.
Flickable {
    id: page
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
                const top = item.mapToItem(page.contentItem, 0, 0).y
                const bottom = Math.max(0, page.contentHeight - page.height)
                page.contentY = Math.min(Math.max(0, top - 60), bottom)
                return
            }
        }
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
