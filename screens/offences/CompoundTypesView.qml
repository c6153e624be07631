import QtQuick
import QtQuick.Controls
import Kompaun

// "Jenis Kompaun": the first screen of issuing. Each time it shows, a fresh compound record begins.
ScreenPage {
    id: screen
    objectName: "firstView"
    barButtons: Component {
        ToolButton {
            // A finger-sized target however short its label.
            implicitHeight: 48
            implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
            objectName: "logKeluarButton"
            contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Log Keluar"; color: Theme.barText; font.pixelSize: 15 }
            background: Item {}
            onClicked: AppContext.shell.logout()
        }
    }

    CompoundTypesViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
    }
    onAppearing: controller.viewWillAppear()

    PictureList {
        objectName: "jenisKompaunList"
        anchors.fill: parent
        model: controller.model
        onChosen: (index) => controller.select(index)
    }
}
