import QtQuick
import Kompaun

// "Pesalah": the offender and the recipient of the notice.
ScreenPage {
    id: screen
    objectName: "maklumatPersalahView"
    MaklumatPersalahViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()
        FormRows { form: controller }
    }
    PictureScanSheet { anchors.fill: parent; scan: controller.scan }
}
