import QtQuick
import QtQuick.Controls
import Kompaun

// "Jenis Kompaun": the first screen of issuing.
ScreenPage {
    id: screen
    objectName: "firstView"
    barButtons: Component {
        ToolButton {
            objectName: "logKeluarButton"
            contentItem: Text { text: "Log Keluar"; color: Theme.barText; font.pixelSize: 15 }
            background: Item {}
            onClicked: AppContext.shell.logout()
        }
    }
    PlaceholderText {
        heading: "Jenis Kompaun"
        message: "Pegawai: " + AppContext.shell.officerName
    }
}
