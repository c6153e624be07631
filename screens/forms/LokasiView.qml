import QtQuick
import QtQuick.Layouts
import Kompaun

// "Lokasi": where the offence took place, the witness, the position and the photographs.
ScreenPage {
    id: screen
    objectName: "lokasiView"
    LokasiViewController { id: controller; context: AppContext; navigation: screen.navigation }
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
                color: screen.active ? Theme.photoStripActive : Theme.photoStripIdle
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
            // The source kept for the shift, and the way to change it: the picture opens it at once.
            ActionButton {
                objectName: "gambarSumberButton"
                Layout.fillWidth: false
                Layout.preferredWidth: 96
                visible: screen.active && photos.sourceName !== ""
                secondary: true
                text: photos.sourceName + " ▾"
                onClicked: photos.chooseSource()
            }
        }

        FormRows { form: controller }

        // Its line is kept whether or not there is anything to say, so the buttons below never move
        // under the finger when a capture ends.
        Text {
            objectName: "fixDetailText"
            Layout.fillWidth: true
            Layout.preferredHeight: 18
            text: controller.fixDetail
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
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
