import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// "Maklumat": the forms of the compound side by side under one tab strip. A form is made the first time
// its tab shows, and told each time it shows again. Issuing, the bar offers "Semak" (typing under way
// ends first, so the record holds it); a stored compound offers "Cetak" there and "Batal Kompaun" in red at
// the foot of the page, well away from it.
ScreenPage {
    id: screen
    objectName: "formSetView"
    property FormSet formSet: null
    property int currentTab: 0
    // One bit per tab whose form has been made: a form is made the first time its tab shows.
    property int opened: 0
    readonly property list<string> screens: screen.formSet ? screen.formSet.screens : []

    barButtons: Component {
        Row {
            spacing: 2
            // The bar shows these buttons outside the page; the page's id still resolves from here.
            // qmllint disable unqualified
            ToolButton {
                // A finger-sized target however short its label.
                implicitHeight: 48
                implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
                objectName: "semakButton"
                visible: screen.formSet !== null && !screen.formSet.preview
                contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Semak"; color: Theme.barText; font { pixelSize: 15; bold: true } }
                background: Item {}
                onClicked: {
                    screen.forceActiveFocus()
                    if (screen.formSet)
                        screen.formSet.semak()
                }
            }
            ToolButton {
                // A finger-sized target however short its label.
                implicitHeight: 48
                implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
                objectName: "cetakButton"
                visible: screen.formSet !== null && screen.formSet.preview
                contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Cetak"; color: Theme.barText; font { pixelSize: 15; bold: true } }
                background: Item {}
                onClicked: if (screen.formSet) screen.formSet.cetak()
            }
            // qmllint enable unqualified
        }
    }

    // The forms made so far, by tab.
    property var pages: []
    function pageAt(index: int): ScreenPage {
        return index < screen.pages.length ? screen.pages[index] as ScreenPage : null
    }
    function showTab(index: int) {
        if (index < 0 || index >= screen.screens.length)
            return
        screen.currentTab = index
        // The first time, the bit makes its loader load the form, and its onLoaded tells it that it shows.
        if ((screen.opened & (1 << index)) === 0)
            screen.opened = screen.opened | (1 << index)
        else
            screen.formShown(screen.pageAt(index))
    }
    function formShown(page: ScreenPage) {
        if (page !== null)
            page.appearing()
    }
    function formLoaded(index: int, page: ScreenPage) {
        if (page !== null) {
            const pages = screen.pages
            pages[index] = page
            screen.pages = pages
            if (screen.formSet)
                screen.formSet.formLoaded(page)
            page.navigation = screen.navigation
            page.appearing()
            // A new compound's first form: the keyboard is ready in the first field it asks for.
            if (index === 0 && screen.formSet && !screen.formSet.preview) {
                const field = screen.findNamed(page, screen.formSet.firstMissingField(page))
                if (field !== null)
                    field.forceActiveFocus()
            }
        }
    }
    onAppearing: screen.showTab(screen.currentTab)

    // The item of that objectName under the item, depth first.
    function findNamed(item: Item, name: string): Item {
        if (item === null || name === "")
            return null
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = screen.findNamed(item.children[i], name)
            if (found !== null)
                return found
        }
        return null
    }
    // "Semak" refused: the tab of the field it names shows and the field takes the focus (the form's
    // page scrolls to it), so the officer is not left searching.
    Connections {
        target: screen.formSet
        function onFieldRequested(tab: int, name: string) {
            screen.showTab(tab)
            const field = screen.findNamed(screen.pageAt(tab), name)
            if (field !== null)
                field.forceActiveFocus()
        }
    }

    FormTabStrip {
        id: strip
        objectName: "formTabStrip"
        anchors { left: parent.left; right: parent.right; top: parent.top }
        titles: screen.formSet ? screen.formSet.titles : []
        current: screen.currentTab
        onChosen: (index) => screen.showTab(index)
    }

    StackLayout {
        anchors { left: parent.left; right: parent.right; top: strip.bottom; bottom: cancelBar.top }
        currentIndex: screen.currentTab
        // The forms' loaders read the page's state from inside the repeater.
        // qmllint disable unqualified
        Repeater {
            id: forms
            model: screen.screens
            Loader {
                id: form
                required property int index
                required property string modelData
                objectName: "form" + form.index
                active: (screen.opened & (1 << form.index)) !== 0
                source: Qt.resolvedUrl(form.modelData)
                onLoaded: screen.formLoaded(form.index, form.item as ScreenPage)
            }
        }
        // qmllint enable unqualified
    }

    Rectangle {
        id: cancelBar
        readonly property bool shown: screen.formSet !== null && screen.formSet.preview && !screen.formSet.cancelled
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: cancelBar.shown ? 64 : 0
        visible: cancelBar.shown
        color: Theme.card
        Button {
            id: batalButton
            objectName: "batalKompaunButton"
            anchors { fill: parent; margins: 8 }
            text: "Batal Kompaun"
            onClicked: if (screen.formSet) screen.formSet.batalKompaun()
            contentItem: Text {
                text: "Batal Kompaun"
                color: "white"
                font { pixelSize: Theme.font; bold: true }
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle { radius: 6; color: batalButton.down ? Qt.darker(Theme.danger, 1.2) : Theme.danger }
        }
    }
}
