import QtQuick
import QtQuick.Controls
import Kompaun

// "Dicetak": the printed compounds waiting for upload, newest last; a cancelled one is marked. A row
// opens the compound in the forms, read-only. "MuatNaik" sends them all to the council; "Ringkasan" shows
// the shift summary.
ScreenPage {
    id: screen
    objectName: "secondView"
    SecondViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
    }
    barButtons: Component {
        Row {
            ToolButton {
                objectName: "ringkasanButton"
                contentItem: Text { text: "Ringkasan"; color: Theme.barText; font.pixelSize: 15 }
                background: Item {}
                onClicked: AppContext.shell.ringkasan()
            }
            ToolButton {
                objectName: "muatNaikButton"
                visible: AppContext.shell.canUpload
                contentItem: Text { text: "MuatNaik"; color: Theme.barText; font.pixelSize: 15 }
                background: Item {}
                onClicked: AppContext.shell.muatNaik()
            }
        }
    }
    onAppearing: {
        AppContext.shell.refreshWaitingCount()
        controller.viewWillAppear()
    }

    SubtitleList {
        objectName: "dicetakList"
        anchors.fill: parent
        rowName: "dicetakRow"
        model: controller.model
        onChosen: (index) => controller.select(index)
    }
    Text {
        objectName: "dicetakEmpty"
        visible: controller.model.count === 0
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 24 }
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: "Tiada kompaun menunggu muat naik."
        font.pixelSize: 15
        color: Theme.muted
    }
}
