import QtQuick
import Kompaun

// "Simpanan": the favourite offences. A row starts a compound for that offence; a row swiped left can
// be deleted ("Padam").
ScreenPage {
    id: screen
    objectName: "favView"
    FavViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
    }
    onAppearing: controller.viewWillAppear()

    SubtitleList {
        objectName: "favList"
        anchors.fill: parent
        rowName: "favRow"
        canSave: true
        actionText: "Padam"
        actionName: "padamButton"
        actionColor: Theme.danger
        model: controller.model
        onChosen: (index) => controller.select(index)
        onSaved: (index) => controller.padam(index)
    }
    Text {
        objectName: "favEmpty"
        visible: controller.model.count === 0
        anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 24 }
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: "Tiada kesalahan disimpan. Leret kesalahan ke kiri dan pilih \"Simpan\" untuk menyimpannya di sini."
        font.pixelSize: 15
        color: Theme.muted
    }
}
