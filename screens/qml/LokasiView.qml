import QtQuick
import QtQuick.Layouts
import Kompaun

// "Lokasi": where the offence took place, the witness, the position and the photographs.
ScreenPage {
    id: screen
    objectName: "lokasiView"
    LokasiViewController {
        id: controller
        context: AppContext
        navigation: screen.navigation
        // The map page, given the position the two fields show.
        onMapRequested: if (screen.navigation)
            screen.navigation.push("ContactUsView.qml", "Peta", { "contactLat": controller.latitude.text,
                                                                  "contactLong": controller.longtitude.text })
    }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    // The photographs: the source choice, the picked picture, the photo list; the count follows.
    PhotoPickerController { id: photos; context: AppContext; navigation: screen.navigation }
    Connections {
        target: controller
        function onPhotoSourceRequested() { photos.keluarkamera() }
        function onPhotoListRequested() { photos.openEditGmabar() }
    }
    Connections {
        target: photos
        function onPhotosChanged() { controller.viewWillAppear() }
    }

    readonly property bool active: !controller.preview

    FormPage {
        anchors.fill: parent
        onBackgroundTapped: controller.textViewDismissTaps()

        // The photographs: the picture takes one, the button lists them.
        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            Rectangle {
                objectName: "gambarKesalahanPicture"
                Layout.preferredWidth: 96
                Layout.preferredHeight: 72
                radius: 8
                color: screen.active ? "#e0e7ff" : "#eef0f4"
                border.color: Theme.bar
                Text {
                    anchors.centerIn: parent
                    width: parent.width - 8
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: "Ambil Gambar"
                    font { pixelSize: 13; bold: true }
                    color: Theme.bar
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: screen.active
                    onClicked: controller.keluarkamera()
                }
            }
            ActionButton {
                objectName: "editGambarButton"
                secondary: true
                text: controller.editGambarTitle
                onClicked: controller.openEditGmabar()
            }
        }

        FormTextRow {
            caption: "Tempat Kejadian"
            name: "lokasiTempatKejadianField"
            field: controller.tempatKejadian
            form: controller
            editable: screen.active
        }
        ActionButton {
            objectName: "samaSptAlamatButton"
            secondary: true
            text: "Sama seperti alamat pesalah"
            onClicked: controller.samaSptAlamatPesalah()
        }
        FormPickRow {
            caption: "Kawasan"
            name: "lokasiKawasanField"
            pickName: "lokasiKawasanPick"
            field: controller.kawasan
            form: controller
            active: screen.active
            onPick: controller.kawasanGestureDropDown()
        }
        FormPickRow {
            caption: "Jalan"
            name: "lokasiJalanField"
            pickName: "lokasiJalanPick"
            field: controller.lokasiJalan
            form: controller
            active: screen.active
            onPick: controller.lokasiLabelDropDown()
        }
        FormTextRow {
            caption: "No. Petak"
            name: "lokasiNoPetakField"
            field: controller.noPetak
            form: controller
            editable: screen.active
        }
        FormPickRow {
            visible: controller.witnessVisible
            caption: "Saksi Penguatkuasa"
            name: "lokasiNamaSaksiField"
            pickName: "lokasiNamaSaksiPick"
            field: controller.namaSaksi
            form: controller
            active: screen.active
            pickEnabled: screen.active
            onPick: controller.getSaksiPenguatkuasaList()
        }
        FormTextRow {
            visible: controller.witnessVisible
            caption: "No. K/P Saksi"
            name: "lokasiICSaksiField"
            field: controller.icSaksi
            form: controller
            editable: screen.active
        }
        FormValueRow {
            caption: "Penguatkuasa"
            name: "namaPenguatKuasaField"
            field: controller.namaPenguatKuasa
        }

        FormHeading { text: "Kedudukan" }
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            FormValueRow {
                caption: "Latitud"
                name: "latField"
                field: controller.latitude
            }
            FormValueRow {
                caption: "Longitud"
                name: "longField"
                field: controller.longtitude
            }
        }
        Text {
            objectName: "fixDetailText"
            Layout.fillWidth: true
            visible: controller.fixDetail !== ""
            text: controller.fixDetail
            wrapMode: Text.WordWrap
            font.pixelSize: 13
            color: Theme.muted
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            ActionButton {
                objectName: "captureLatLongButton"
                text: "Kesan Lokasi"
                enabled: !controller.capturing
                onClicked: controller.captureLatLong()
            }
            ActionButton {
                objectName: "goToMapButton"
                secondary: true
                text: "Peta"
                onClicked: controller.goToMap()
            }
        }
    }
}
