import QtQuick
import Kompaun

// The acts of the chosen compound type, titled with the type.
ScreenPage {
    id: screen
    objectName: "sectionKesalahanView"
    property string typeCode

    SectionKesalahanViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
        typeCode: screen.typeCode
    }

    SearchBar {
        id: search
        anchors { left: parent.left; right: parent.right; top: parent.top }
        list: controller
    }
    SubtitleList {
        objectName: "kesalahanList"
        anchors { left: parent.left; right: parent.right; top: search.bottom; bottom: parent.bottom }
        rowName: "kesalahanRow"
        model: controller.model
        onChosen: (index) => controller.select(index)
    }
}
