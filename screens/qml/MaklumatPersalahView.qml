import QtQuick
import QtQuick.Layouts
import Kompaun

// "Pesalah": the offender and the recipient of the notice.
ScreenPage {
    id: screen
    objectName: "maklumatPersalahView"
    MaklumatPersalahViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    readonly property bool active: !controller.preview

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()

        FormHeading { text: "Maklumat Pesalah" }

        // Individual or company: two segments.
        RowLayout {
            Layout.fillWidth: true
            spacing: 0
            SegmentButton {
                objectName: "pilihanIndividuButton"
                text: "Individu"
                enabled: screen.active
                checked: controller.choose === 0
                onClicked: controller.segmentSwitch(0)
            }
            SegmentButton {
                objectName: "pilihanSyarikatButton"
                text: "Syarikat"
                enabled: screen.active
                checked: controller.choose === 1
                onClicked: controller.segmentSwitch(1)
            }
        }

        FormTextRow {
            caption: "No. Kad Pengenalan"
            name: "noKadPengenalanPesalahField"
            field: controller.icPesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "No. Daftar Syarikat"
            name: "noDaftarSyarikatField"
            field: controller.nodaftarsyarikatPesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "No. Lesen Perniagaan"
            name: "lokasiLesenPerniagaanField"
            field: controller.noLesen
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Nama"
            name: "namaPesalahField"
            field: controller.namaPesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Alamat 1"
            name: "alamat1PesalahField"
            field: controller.alamat1Pesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Alamat 2"
            name: "alamat2PesalahField"
            field: controller.alamat2Pesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Poskod"
            name: "poskodPesalahField"
            field: controller.poskodPesalah
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Bandar"
            name: "alamat3PesalahField"
            field: controller.daerahPesalah
            form: controller
            editable: screen.active
        }
        FormPickRow {
            caption: "Negeri"
            name: "negeriPesalahField"
            pickName: "negeriPesalahPick"
            field: controller.butiranNegeri
            form: controller
            active: screen.active
            onPick: controller.negeri1Exe()
        }

        FormHeading { text: "Maklumat Penerima" }
        ActionButton {
            objectName: "samaDiatasButton"
            visible: screen.active
            secondary: true
            text: "Sama seperti di atas"
            onClicked: controller.samaDiatasExe()
        }
        FormTextRow {
            caption: "Nama"
            name: "namaPenerimaField"
            field: controller.namaPenerima
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "No. Kad Pengenalan"
            name: "noKadPengenalanPenerimaField"
            field: controller.icPenerima
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Alamat 1"
            name: "alamat1PenerimaField"
            field: controller.alamat1Penerima
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Alamat 2"
            name: "alamat2PenerimaField"
            field: controller.alamat2Penerima
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Poskod"
            name: "poskodPenerimaField"
            field: controller.poskodPenerima
            form: controller
            editable: screen.active
        }
        FormTextRow {
            caption: "Bandar"
            name: "alamat3PenerimaField"
            field: controller.alamat3Penerima
            form: controller
            editable: screen.active
        }
        FormPickRow {
            caption: "Negeri"
            name: "negeriPenerimaField"
            pickName: "negeriPenerimaPick"
            field: controller.penerimaNegeri
            form: controller
            active: screen.active
            onPick: controller.negeri2Exe()
        }
    }
}
