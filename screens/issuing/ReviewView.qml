import QtQuick
import QtQuick.Controls
import Kompaun

// "Semak": the whole compound on one scrolling read-only page; "Cetak" goes to the issuing flow that
// opened it (the section list's or the favourites') to confirm, store and print.
ScreenPage {
    id: screen
    objectName: "reviewView"
    property IssuingFlow flow: null

    ReviewViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
        flow: screen.flow
    }
    onAppearing: controller.viewWillAppear()

    barButtons: Component {
        ToolButton {
            // A finger-sized target however short its label.
            implicitHeight: 48
            implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
            objectName: "cetakButton"
            contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Cetak"; color: Theme.barText; font { pixelSize: 15; bold: true } }
            background: Item {}
            // The bar shows this button outside the page; the page's id still resolves from here.
            // qmllint disable unqualified
            onClicked: controller.cetak()
            // qmllint enable unqualified
        }
    }

    Flickable {
        id: page
        objectName: "reviewPage"
        anchors.fill: parent
        contentWidth: width
        contentHeight: fields.implicitHeight + 2 * Theme.gap
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollIndicator.vertical: ScrollIndicator {}

        Column {
            id: fields
            x: 16
            y: Theme.gap
            width: page.width - 32
            spacing: 8
            Repeater {
                model: controller.model
                delegate: Column {
                    id: field
                    required property string title
                    required property string subtitle
                    required property string key
                    width: field.parent ? field.parent.width : 0
                    spacing: 1
                    Text {
                        width: field.width
                        text: field.title
                        font.pixelSize: 12
                        color: Theme.muted
                    }
                    Text {
                        objectName: "review_" + field.key
                        width: field.width
                        text: field.subtitle.trim()
                        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                        font.pixelSize: 15
                        color: Theme.text
                    }
                    Rectangle { width: field.width; height: 1; color: Theme.line }
                }
            }
        }
    }
}
