import QtQuick
import Kompaun

// "Kenderaan": the vehicle of the offence.
ScreenPage {
    id: screen
    objectName: "kenderaanTabView"
    KenderaanTabViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    readonly property bool active: !controller.preview

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()

        FormTextRow {
            caption: "No. Kenderaan"
            name: "kenderaanNoKenderaanField"
            field: controller.noKenderaan
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "No. Cukai Jalan"
            name: "kenderaanNoCukaiJalanField"
            field: controller.noCukaiJalan
            form: controller
            editable: screen.active
        }
        FormPickRow {
            caption: "Jenis Kenderaan"
            name: "kenderaanJenisKenderaanField"
            pickName: "kenderaanJenisKenderaanPick"
            field: controller.jenisKenderaan
            form: controller
            active: screen.active
            onPick: controller.jenisKenDroTaps()
        }
        FormPickRow {
            caption: "Jenis Model"
            name: "kenderaanJenisModelField"
            pickName: "kenderaanJenisModelPick"
            field: controller.jenisModel
            form: controller
            active: screen.active
            onPick: controller.jenisModelDroTaps()
        }
        FormPickRow {
            caption: "Jenis Warna"
            name: "kenderaanJenisWarnaField"
            pickName: "kenderaanJenisWarnaPick"
            field: controller.jenisWarna
            form: controller
            active: screen.active
            onPick: controller.jenisWarDroTaps()
        }
        FormTextRow {
            caption: "No. Chasis"
            name: "kenderaanNoChasisField"
            field: controller.noChasis
            form: controller
            editable: screen.active
        }
    }
}
