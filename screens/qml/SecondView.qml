import QtQuick
import QtQuick.Controls
import Kompaun

// "Dicetak": the printed compounds waiting for upload.
ScreenPage {
    objectName: "secondView"
    barButtons: Component {
        ToolButton {
            objectName: "muatNaikButton"
            visible: AppContext.shell.canUpload
            contentItem: Text { text: "MuatNaik"; color: Theme.barText; font.pixelSize: 15 }
            background: Item {}
            onClicked: AppContext.shell.muatNaik()
        }
    }
    onAppearing: AppContext.shell.refreshWaitingCount()
    PlaceholderText {
        heading: "Dicetak"
        message: "Kompaun menunggu muat naik: " + AppContext.shell.waitingCount
    }
}
