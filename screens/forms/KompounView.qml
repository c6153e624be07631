import QtQuick
import Kompaun

// "Kompaun": the compound itself, its particulars and how the notice is delivered.
ScreenPage {
    id: screen
    objectName: "kompounView"
    KompounViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()
        FormRows { form: controller }
    }
}
