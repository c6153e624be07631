import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// The council's page for a licence or a tax account, as rich text, with the way to the browser.
ScreenPage {
    id: screen
    objectName: "lesenDetailView"
    property string account
    LesenDetailViewer { id: viewer; context: AppContext; pageWidth: page.width - 32 }
    Component.onCompleted: viewer.webViewLesenUrl(screen.account)
    onAppearing: viewer.viewWillAppear()

    Flickable {
        id: page
        objectName: "lesenDetail"
        anchors { left: parent.left; right: parent.right; top: parent.top; bottom: buttons.top }
        contentWidth: width
        contentHeight: (viewer.failed ? failure.implicitHeight : body.documentHeight) + 32
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollIndicator.vertical: ScrollIndicator {}
        Text {
            id: failure
            objectName: "lesenDetailFailure"
            x: 16
            y: 16
            width: page.width - 32
            visible: viewer.failed
            textFormat: Text.PlainText
            text: viewer.failed ? viewer.pageText : ""
            wrapMode: Text.Wrap
            font.pixelSize: 16
            font.bold: true
            color: Theme.danger
            horizontalAlignment: Text.AlignHCenter
        }
    }
    // The page, laid out away from this thread, drawn over the flickable where it has been scrolled to.
    PageTextItem {
        id: body
        objectName: "lesenDetailText"
        property string text: viewer.pageText
        anchors { fill: page; leftMargin: 16; rightMargin: 16 }
        document: viewer.page
        contentY: page.contentY - 16
    }
    BusyIndicator {
        objectName: "loadingIndicator"
        anchors.centerIn: page
        running: viewer.loading
        visible: viewer.loading
    }
    Rectangle {
        id: buttons
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 64
        color: Theme.page
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: Theme.line }
        RowLayout {
            anchors { fill: parent; margins: 10 }
            ActionButton {
                objectName: "bukaDiPelayarButton"
                secondary: true
                enabled: viewer.hasAddress
                text: "Buka di Pelayar"
                onClicked: viewer.bukaDiPelayar()
            }
        }
    }
}
