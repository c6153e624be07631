import QtQuick
import QtQuick.Layouts
import Kompaun

// Sign-in for a registered phone; registration for a new one. The two web-service buttons are in both.
Rectangle {
    id: screen
    objectName: "loginScreen"
    color: Theme.page
    readonly property LoginViewController login: AppContext.login

    Rectangle {
        id: header
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 150
        color: Theme.bar
        Column {
            anchors.centerIn: parent
            spacing: 6
            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 56; height: 56; radius: 28
                color: "white"
                Text {
                    anchors.centerIn: parent
                    text: "MPT"
                    font { pixelSize: 18; bold: true }
                    color: Theme.bar
                }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: AppContext.councilName
                color: Theme.barText
                font { pixelSize: 14; bold: true }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Sistem Kompaun Elektronik"
                color: Theme.loginSubtitle
                font.pixelSize: 12
            }
        }
    }

    Flickable {
        id: scroller
        anchors { left: parent.left; right: parent.right; top: header.bottom; bottom: footer.top }
        contentHeight: form.implicitHeight + 2 * Theme.gap
        clip: true

        ColumnLayout {
            id: form
            x: 24
            y: 20
            width: scroller.width - 48
            spacing: Theme.gap

            Text {
                text: screen.login.registeredLayout ? "Log Masuk Pegawai" : "Pendaftaran Device"
                font { pixelSize: 18; bold: true }
                color: Theme.text
            }
            Text {
                Layout.fillWidth: true
                visible: !screen.login.registeredLayout
                wrapMode: Text.WordWrap
                text: "Telefon ini belum didaftarkan. Masukkan ID device yang diberi oleh pihak IT majlis."
                color: Theme.muted
                font.pixelSize: 13
            }

            FormField {
                objectName: "userIDField"
                visible: screen.login.registeredLayout
                field: screen.login.userID
                placeholder: "ID Pengguna"
                onAccepted: passwordField.takeFocus()
            }
            FormField {
                id: passwordField
                objectName: "passwordField"
                visible: screen.login.registeredLayout
                field: screen.login.password
                placeholder: "Kata Laluan"
                secret: true
                onAccepted: screen.login.logMasuk()
            }
            FormField {
                objectName: "deviceIDField"
                visible: screen.login.offersRegistration
                field: screen.login.deviceID
                placeholder: "ID Device"
                // Return only puts the keyboard away: registering takes the "Daftar Device" button.
                onAccepted: focus = false
            }
            ActionButton {
                objectName: "btn"
                visible: screen.login.registeredLayout
                // Off until the sign-in under way has its answer.
                enabled: !screen.login.signingIn
                text: "Log Masuk"
                onClicked: screen.login.logMasuk()
            }
            ActionButton {
                objectName: "btnDaftarDevice"
                visible: screen.login.offersRegistration
                enabled: screen.login.canRegisterDevice
                text: "Daftar Device"
                onClicked: screen.login.kemaskiniDeviceAction()
            }
            ActionButton {
                objectName: "kemaskiniPengguna"
                secondary: true
                enabled: screen.login.canUpdateOfficers
                text: "Kemaskini Pengguna"
                onClicked: screen.login.kemaskiniPenggunaAction()
            }
            ActionButton {
                objectName: "kemaskiniApplikasi"
                secondary: true
                enabled: screen.login.canOpenUpdatePage
                text: "Kemaskini Aplikasi"
                onClicked: screen.login.kemaskiniApplikasiAction()
            }
        }
    }

    Rectangle {
        id: footer
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 64
        color: "white"
        border.color: Theme.line
        GridLayout {
            anchors { fill: parent; margins: 8 }
            columns: 3
            rowSpacing: 0
            Repeater {
                model: [["Versi", screen.login.versionNumber, "versionNumber"],
                        ["ID Device", screen.login.iphoneID, "iphoneID"],
                        ["No. Siri", screen.login.runningNumber, "runningNumber"]]
                Column {
                    id: cell
                    required property var modelData
                    Layout.fillWidth: true
                    Text { text: cell.modelData[0]; color: Theme.muted; font.pixelSize: 12; anchors.horizontalCenter: parent.horizontalCenter }
                    Text {
                        objectName: cell.modelData[2]
                        text: cell.modelData[1]
                        font { pixelSize: 15; bold: true }
                        color: Theme.text
                        anchors.horizontalCenter: parent.horizontalCenter
                    }
                }
            }
        }
    }
}
