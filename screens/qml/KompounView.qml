import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
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

        FormValueRow {
            caption: "No. Kompaun"
            name: "kompaunRunningNumberField"
            field: controller.kompaunNumber
            emphasised: true
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            FormValueRow {
                caption: "Tarikh, Masa"
                name: "kompaunTarikhField"
                field: controller.tarikh
            }
            FormValueRow {
                caption: "Tamat Tawaran"
                name: "kompaunTamatTawaranField"
                field: controller.tarikhTamat
            }
        }
        FormValueRow {
            caption: "Jenis Kompaun"
            name: "JenisKompaunField"
            field: controller.jenisKompaun
        }
        FormValueRow {
            caption: "Akta"
            name: "aktaField"
            field: controller.jenisAkta
        }
        FormValueRow {
            caption: "Seksyen / Kesalahan"
            name: "kesalahanField"
            field: controller.jenisSeksyen
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 3
            Text { text: "Butiran Kesalahan"; font.pixelSize: 13; color: Theme.muted }
            TextArea {
                id: butiran
                objectName: "kompaunButiranKesalahanField"
                Layout.fillWidth: true
                // Wrapped text measures its width by the width it is given: the layout decides it alone.
                Layout.preferredWidth: 1
                Layout.minimumHeight: 88
                wrapMode: TextEdit.Wrap
                font.pixelSize: Theme.font
                color: "#111827"
                text: controller.butiranKesalahan.text
                onTextChanged: if (butiran.activeFocus) controller.butiranKesalahan.text = butiran.text
                onEditingFinished: controller.textFieldDidEndEditing(controller.butiranKesalahan)
                background: Rectangle {
                    radius: 6
                    color: "white"
                    border.color: butiran.activeFocus ? Theme.accent : "#d1d5db"
                    border.width: butiran.activeFocus ? 2 : 1
                }
            }
        }
        RowLayout {
            Layout.fillWidth: true
            spacing: 12
            FormValueRow {
                caption: "Kadar Kompaun"
                name: "kompaunKadarField"
                field: controller.kadarSebelum
                emphasised: true
            }
            FormValueRow {
                caption: "Kadar Tawaran"
                name: "kompaunKadarTawaranField"
                field: controller.kadarTawaran
                emphasised: true
            }
        }
        FormTextRow {
            caption: "Kompaun Lama"
            name: "kompaunLamaField"
            field: controller.kompaunLama
            form: controller
        }
        FormPickRow {
            caption: "Cara Penyerahan"
            name: "kompaunCaraPenyerahanField"
            pickName: "kompaunCaraPenyerahanPick"
            field: controller.caraPenyerahan
            form: controller
            editable: false
            pickEnabled: !controller.preview
            onPick: controller.caraPenyerahanDropDown()
        }
    }
}
