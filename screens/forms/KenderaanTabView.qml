import QtQuick
import Kompaun

// "Kenderaan": the vehicle of the offence.
ScreenPage {
    id: screen
    objectName: "kenderaanTabView"
    KenderaanTabViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()
        FormRows { form: controller }
    }
    PictureScanSheet { anchors.fill: parent; scan: controller.scan }
}
