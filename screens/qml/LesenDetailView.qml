import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// The council's page for a licence or a tax account, as rich text, with the way to the browser.
ScreenPage {
    id: screen
    objectName: "lesenDetailView"
    property string account
    LesenDetailViewer { id: viewer; context: AppContext }
    Component.onCompleted: viewer.webViewLesenUrl(screen.account)
    onAppearing: viewer.viewWillAppear()

    Flickable {
        id: page
        objectName: "lesenDetail"
        anchors { left: parent.left; right: parent.right; top: parent.top; bottom: buttons.top }
        contentWidth: width
        contentHeight: body.implicitHeight + 32
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollIndicator.vertical: ScrollIndicator {}
        Text {
            id: body
            objectName: "lesenDetailText"
            x: 16
            y: 16
            width: page.width - 32
            textFormat: viewer.failed ? Text.PlainText : Text.RichText
            text: viewer.pageText
            wrapMode: Text.Wrap
            font.pixelSize: viewer.failed ? 16 : 14
            font.bold: viewer.failed
            color: viewer.failed ? Theme.danger : "#111827"
            horizontalAlignment: viewer.failed ? Text.AlignHCenter : Text.AlignLeft
        }
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
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: "#e5e7eb" }
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
