import QtQuick
import QtQuick.Controls
import Kompaun

// "Dicetak": the printed compounds waiting for upload, newest last; a cancelled one is marked. A row
// opens the compound in the forms, read-only. "MuatNaik" sends them all to the council; "Ringkasan" shows
// the shift summary.
ScreenPage {
    id: screen
    objectName: "secondView"
    PrintedListViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
    }
    barButtons: Component {
        // Finger-sized targets however short their labels.
        Row {
            ToolButton {
                implicitHeight: 48
                implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
                objectName: "ringkasanButton"
                contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Ringkasan"; color: Theme.barText; font.pixelSize: 15 }
                background: Item {}
                onClicked: AppContext.shell.ringkasan()
            }
            ToolButton {
                implicitHeight: 48
                implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
                objectName: "muatNaikButton"
                visible: AppContext.shell.canUpload
                contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "MuatNaik"; color: Theme.barText; font.pixelSize: 15 }
                background: Item {}
                onClicked: AppContext.shell.muatNaik()
            }
        }
    }
    onAppearing: {
        AppContext.shell.refreshWaitingCount()
        controller.viewWillAppear()
    }

    // A day's compounds are found by number, plate or name as the officer types.
    Rectangle {
        id: searchBar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 60
        color: Theme.searchStrip
        TextField {
            id: search
            objectName: "dicetakSearchField"
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 8 }
            height: 48
            placeholderText: "Cari no. kompaun, kenderaan atau nama"
            placeholderTextColor: Theme.muted
            color: Theme.text
            font.pixelSize: Theme.font
            inputMethodHints: Qt.ImhNoPredictiveText
            text: controller.searchText
            onTextEdited: controller.searchText = search.text
            background: Rectangle {
                radius: 8
                color: "white"
                border.color: search.activeFocus ? Theme.accent : Theme.idleBorder
            }
        }
    }
    SubtitleList {
        objectName: "dicetakList"
        anchors { left: parent.left; right: parent.right; top: searchBar.bottom; bottom: parent.bottom }
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
        text: controller.totalCount === 0 ? "Tiada kompaun menunggu muat naik."
                                          : "Tiada kompaun sepadan dengan carian."
        font.pixelSize: 15
        color: Theme.muted
    }
}
