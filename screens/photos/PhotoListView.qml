import QtQuick
import Kompaun

// "Senarai Gambar": the photographs of the compound, each row its thumbnail. A row swiped left shows
// "Padam" (not for a stored compound in view); a tapped row opens the photograph.
ScreenPage {
    id: screen
    objectName: "imageEditView"
    PhotoListViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()

    PhotoRows {
        id: list
        objectName: "imageList"
        anchors.fill: parent
        model: controller.model
        editable: controller.editable
        onChosen: (index) => controller.didSelectRow(index)
        onDeleted: (index) => controller.commitEditingStyleForRow(index)
    }
    Text {
        visible: list.count === 0
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 24 }
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: "Tiada gambar"
        font.pixelSize: 15
        color: Theme.muted
    }
}
