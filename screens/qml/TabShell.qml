import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// The five tabs, each with its own bar; every tab keeps its screen when another is selected.
Rectangle {
    id: shellView
    objectName: "tabShell"
    color: Theme.page
    readonly property var shell: AppContext.shell

    Rectangle {
        id: bar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 52
        color: Theme.bar
        Text {
            anchors.centerIn: parent
            text: shellView.shell.currentIndex === 3 ? "Lesen/Cukai" : shellView.shell.tabTitles[shellView.shell.currentIndex]
            color: Theme.barText
            font { pixelSize: 17; bold: true }
        }
        ToolButton {
            objectName: "logKeluarButton"
            visible: shellView.shell.currentIndex === 0
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 4 }
            contentItem: Text { text: "Log Keluar"; color: Theme.barText; font.pixelSize: 14 }
            background: Item {}
            onClicked: shellView.shell.logout()
        }
        ToolButton {
            objectName: "muatNaikButton"
            visible: shellView.shell.currentIndex === 2 && shellView.shell.canUpload
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 4 }
            contentItem: Text { text: "MuatNaik"; color: Theme.barText; font.pixelSize: 14 }
            background: Item {}
            onClicked: shellView.shell.muatNaik()
        }
    }

    StackLayout {
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: tabs.top }
        currentIndex: shellView.shell.currentIndex

        PlaceholderScreen {
            objectName: "compoundTypeTab"
            heading: "Jenis Kompaun"
            message: "Pegawai: " + shellView.shell.officerName + "\nSenarai jenis kompaun akan dipaparkan di sini."
        }
        PlaceholderScreen {
            objectName: "favouritesTab"
            heading: "Simpanan"
            message: "Kesalahan kegemaran akan dipaparkan di sini."
        }
        PlaceholderScreen {
            objectName: "printedTab"
            heading: "Dicetak"
            message: "Kompaun menunggu muat naik: " + shellView.shell.waitingCount
                     + "\nSenarai kompaun yang telah dicetak akan dipaparkan di sini."
        }
        PlaceholderScreen {
            objectName: "scanTab"
            heading: "Lesen/Cukai"
            message: "Semakan lesen dan cukai taksiran akan dipaparkan di sini."
        }
        Loader {
            objectName: "printerTab"
            source: AppContext.printer ? "PrinterScreen.qml" : "PlaceholderScreen.qml"
        }
    }

    Rectangle {
        id: tabs
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: 60
        color: "white"
        Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top } height: 1; color: "#e5e7eb" }
        Row {
            anchors.fill: parent
            Repeater {
                model: shellView.shell.tabTitles
                delegate: MouseArea {
                    objectName: "tab" + index
                    width: tabs.width / 5
                    height: tabs.height
                    readonly property bool selected: shellView.shell.currentIndex === index
                    onClicked: shellView.shell.tabBarControllerDidSelect(index)
                    Column {
                        anchors.centerIn: parent
                        spacing: 2
                        Image {
                            anchors.horizontalCenter: parent.horizontalCenter
                            source: AppContext.picture(shellView.shell.tabPictures[index])
                            width: 28; height: 28
                            sourceSize { width: 56; height: 56 }
                            fillMode: Image.PreserveAspectFit
                            opacity: selected ? 1 : 0.45
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            width: tabs.width / 5 - 4
                            horizontalAlignment: Text.AlignHCenter
                            fontSizeMode: Text.HorizontalFit
                            minimumPixelSize: 8
                            text: modelData
                            font { pixelSize: 11; bold: selected }
                            color: selected ? Theme.bar : Theme.muted
                        }
                    }
                }
            }
        }
    }
}
