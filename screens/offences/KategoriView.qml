import QtQuick
import Kompaun

// The sections of the chosen act, titled with the act's code. A row swiped left can be kept as a
// favourite ("Simpan").
ScreenPage {
    id: screen
    objectName: "kategoriView"
    property string actId
    KategoriViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
        actId: screen.actId
    }

    SearchBar {
        id: search
        anchors { left: parent.left; right: parent.right; top: parent.top }
        list: controller
    }
    SubtitleList {
        objectName: "kategoriList"
        anchors { left: parent.left; right: parent.right; top: search.bottom; bottom: parent.bottom }
        rowName: "kategoriRow"
        canSave: true
        model: controller.model
        onChosen: (index) => controller.select(index)
        onSaved: (index) => controller.simpan(index)
    }
}
