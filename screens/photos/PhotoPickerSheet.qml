import QtQuick
import QtQuick.Controls
import QtMultimedia
import Kompaun

// The photo library's picker, modal over the tabs: the pictures of the gallery as a list to tap, or
// the camera's viewfinder with its shutter. "Batal" goes back without a picture.
Rectangle {
    id: sheet
    objectName: "photoPicker"
    readonly property PhotoLibrary library: AppContext.photoPicker
    visible: sheet.library !== null && sheet.library.showing
    color: Theme.page

    // Nothing beneath reacts while the picker shows.
    MouseArea { anchors.fill: parent; hoverEnabled: true }

    Rectangle {
        id: bar
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 52
        color: Theme.bar
        ToolButton {
            // A finger-sized target however short its label.
            implicitHeight: 48
            implicitWidth: Math.max(48, implicitContentWidth + leftPadding + rightPadding)
            id: cancel
            objectName: "photoPickerCancel"
            anchors { left: parent.left; verticalCenter: parent.verticalCenter; leftMargin: 4 }
            contentItem: Text { verticalAlignment: Text.AlignVCenter; text: "Batal"; color: Theme.barText; font.pixelSize: 15 }
            background: Item {}
            onClicked: if (sheet.library) sheet.library.cancel()
        }
        Text {
            anchors { left: cancel.right; right: parent.right; verticalCenter: parent.verticalCenter }
            anchors.rightMargin: cancel.width + 4
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: sheet.library && sheet.library.camera ? "Kamera" : "Galeri Gambar"
            color: Theme.barText
            font { pixelSize: 17; bold: true }
        }
    }

    ListView {
        id: gallery
        objectName: "galleryList"
        visible: sheet.library !== null && !sheet.library.camera
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: parent.bottom }
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollIndicator.vertical: ScrollIndicator {}
        model: sheet.library && !sheet.library.camera ? sheet.library.images : []
        delegate: ItemDelegate {
            id: row
            required property int index
            required property string modelData
            objectName: "galleryRow" + row.index
            width: row.ListView.view ? row.ListView.view.width : 0
            height: 84
            padding: 0
            onClicked: AppContext.photoPicker.choose(row.index)
            background: Rectangle {
                color: row.down ? Theme.line : Theme.card
                Rectangle { anchors { left: parent.left; right: parent.right; bottom: parent.bottom; leftMargin: 92 }
                            height: 1; color: Theme.line }
            }
            contentItem: Row {
                leftPadding: 10
                spacing: 12
                Image {
                    objectName: "galleryThumbnail" + row.index
                    anchors.verticalCenter: parent.verticalCenter
                    width: 72
                    height: 72
                    sourceSize.width: 144
                    sourceSize.height: 144
                    fillMode: Image.PreserveAspectCrop
                    asynchronous: true
                    clip: true
                    // Through our own decoder: a damaged picture shows blank, without an error.
                    source: AppContext.photoPicker
                            ? "image://gallery/" + encodeURIComponent(String(AppContext.photoPicker.imageUrl(row.index)))
                            : ""
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    width: row.width - 72 - 10 - 12 - 10
                    text: row.modelData
                    elide: Text.ElideMiddle
                    font.pixelSize: 15
                    color: Theme.text
                }
            }
        }
    }
    Text {
        objectName: "galleryEmpty"
        visible: gallery.visible && gallery.count === 0
        anchors { left: parent.left; right: parent.right; top: bar.bottom; margins: 24 }
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        text: "Tiada gambar dalam galeri telefon. Ambil gambar dengan Kamera, atau simpan gambar ke galeri dahulu."
        font.pixelSize: 15
        color: Theme.muted
    }

    // The viewfinder exists only while the camera shows, so that nothing opens a camera otherwise.
    Loader {
        anchors { left: parent.left; right: parent.right; top: bar.bottom; bottom: parent.bottom }
        active: sheet.library !== null && sheet.library.camera
        sourceComponent: Item {
            VideoOutput {
                id: viewfinder
                anchors { left: parent.left; right: parent.right; top: parent.top; bottom: shutter.top }
                fillMode: VideoOutput.PreserveAspectFit
                Component.onCompleted: AppContext.photoPicker.setViewfinder(viewfinder)
                Component.onDestruction: AppContext.photoPicker.setViewfinder(null)
            }
            ActionButton {
                id: shutter
                objectName: "cameraShutter"
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 12 }
                text: "Ambil Gambar"
                onClicked: AppContext.photoPicker.capture()
            }
        }
    }
}
