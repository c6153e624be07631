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

    // A type's name is often longer than the bar can show beside "Kembali": here it is whole.
    Rectangle {
        id: heading
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: headingText.implicitHeight + 14
        color: Theme.card
        Text {
            id: headingText
            objectName: "jenisKompaunHeading"
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter
                      leftMargin: 14; rightMargin: 14 }
            text: screen.title
            wrapMode: Text.WordWrap
            font { pixelSize: 14; bold: true }
            color: Theme.bar
        }
    }
    SearchBar {
        id: search
        anchors { left: parent.left; right: parent.right; top: heading.bottom }
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
