import QtQuick
import QtQuick.Layouts
import Kompaun

// "Lesen/Cukai" (tab "Scan"): a licence or tax bill's barcode read by the camera, or a picture of one,
// or the account typed; each opens the council's page for the account.
ScreenPage {
    id: screen
    objectName: "lesenView"
    LesenViewController { id: controller; context: AppContext; navigation: screen.navigation }
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    FormPage {
        anchors.fill: parent

        // The reader: the camera while it scans, or what to do without one.
        Rectangle {
            objectName: "readerView"
            Layout.fillWidth: true
            Layout.preferredHeight: 150
            radius: 10
            color: controller.hasCamera ? Theme.text : Theme.photoStripActive
            border.color: Theme.bar
            Column {
                anchors.centerIn: parent
                width: parent.width - 24
                spacing: 6
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: controller.hasCamera
                          ? (controller.scanning ? "Halakan kamera ke kod bar lesen atau bil cukai"
                                                 : "Kamera berhenti")
                          : "Tiada kamera pada peranti ini"
                    font { pixelSize: 16; bold: true }
                    color: controller.hasCamera ? "white" : Theme.bar
                }
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    visible: !controller.hasCamera
                    text: "Imbas kod bar daripada gambar, atau taip nombor akaun di bawah."
                    font.pixelSize: 13
                    color: Theme.muted
                }
            }
        }
        ActionButton {
            objectName: "imbasGambarButton"
            secondary: controller.hasCamera
            text: controller.picturesShown ? "Tutup Senarai Gambar" : "Imbas Gambar"
            onClicked: controller.imbasGambar()
        }
        SubtitleList {
            objectName: "scanPictureList"
            visible: controller.picturesShown
            Layout.fillWidth: true
            Layout.preferredHeight: controller.picturesShown ? Math.min(contentHeight, 200) : 0
            rowName: "scanPictureRow"
            model: controller.pictures
            onChosen: (index) => controller.pictureChosen(index)
        }
        Text {
            objectName: "picturesNote"
            Layout.fillWidth: true
            visible: controller.picturesShown && controller.picturesNote !== ""
            text: controller.picturesNote
            wrapMode: Text.WordWrap
            font.pixelSize: 13
            color: Theme.muted
        }

        Text {
            objectName: "resultText"
            Layout.fillWidth: true
            visible: controller.resultVisible
            text: controller.resultText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WrapAnywhere
            font { pixelSize: 18; bold: true }
            color: Theme.bar
        }

        FormHeading { text: "No. Akaun" }
        FormField {
            objectName: "akaunManualField"
            field: controller.akaunManual
            placeholder: "Nombor lesen atau akaun cukai"
            inputMethodHints: Qt.ImhNoPredictiveText
            onAccepted: controller.cariAkaun()
        }
        ActionButton {
            objectName: "cariManualButton"
            text: "Cari"
            onClicked: controller.cariAkaun()
        }
    }
}
