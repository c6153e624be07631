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
    // One bit per tab whose form has been made.
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

    function pageAt(index: int): ScreenPage {
        if (index === 0)
            return form0.page
        if (index === 1)
            return form1.page
        if (index === 2)
            return form2.page
        return form3.page
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
    function formLoaded(page: ScreenPage) {
        if (page !== null) {
            if (screen.formSet)
                screen.formSet.formLoaded(page)
            page.navigation = screen.navigation
            page.appearing()
        }
    }
    onAppearing: screen.showTab(screen.currentTab)

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
        Loader {
            id: form0
            objectName: "form0"
            readonly property ScreenPage page: form0.item as ScreenPage
            active: (screen.opened & 1) !== 0 && screen.screens.length > 0
            source: screen.screens.length > 0 ? Qt.resolvedUrl(screen.screens[0]) : ""
            onLoaded: screen.formLoaded(form0.page)
        }
        Loader {
            id: form1
            objectName: "form1"
            readonly property ScreenPage page: form1.item as ScreenPage
            active: (screen.opened & 2) !== 0 && screen.screens.length > 1
            source: screen.screens.length > 1 ? Qt.resolvedUrl(screen.screens[1]) : ""
            onLoaded: screen.formLoaded(form1.page)
        }
        Loader {
            id: form2
            objectName: "form2"
            readonly property ScreenPage page: form2.item as ScreenPage
            active: (screen.opened & 4) !== 0 && screen.screens.length > 2
            source: screen.screens.length > 2 ? Qt.resolvedUrl(screen.screens[2]) : ""
            onLoaded: screen.formLoaded(form2.page)
        }
        Loader {
            id: form3
            objectName: "form3"
            readonly property ScreenPage page: form3.item as ScreenPage
            active: (screen.opened & 8) !== 0 && screen.screens.length > 3
            source: screen.screens.length > 3 ? Qt.resolvedUrl(screen.screens[3]) : ""
            onLoaded: screen.formLoaded(form3.page)
        }
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
