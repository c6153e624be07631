import QtQuick
import Kompaun

// "Gambar Kesalahan": one photograph whole, fitted to the screen; pinch or double tap to zoom.
ScreenPage {
    id: screen
    objectName: "imageView"
    property string photoSource
    property int photoWidth: 0
    property int photoHeight: 0
    color: "black"

    ImageViewController {
        id: viewer
        imageWidth: screen.photoWidth
        imageHeight: screen.photoHeight
        viewWidth: flick.width
        viewHeight: flick.height
        onFitScaleChanged: photo.scale = viewer.fitScale
    }

    Flickable {
        id: flick
        objectName: "imageFlick"
        anchors.fill: parent
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: Math.max(flick.width, photo.width * photo.scale)
        contentHeight: Math.max(flick.height, photo.height * photo.scale)

        PinchArea {
            width: flick.contentWidth
            height: flick.contentHeight
            property real startScale: 1
            onPinchStarted: startScale = photo.scale
            onPinchUpdated: (pinch) => photo.scale = viewer.bounded(startScale * pinch.scale)
            onPinchFinished: flick.returnToBounds()

            Image {
                id: photo
                objectName: "imageFull"
                width: screen.photoWidth
                height: screen.photoHeight
                anchors.centerIn: parent
                transformOrigin: Item.Center
                scale: 1
                fillMode: Image.PreserveAspectFit
                // Decoded no larger than a zoom can show.
                sourceSize.width: 3000
                sourceSize.height: 3000
                smooth: true
                source: screen.photoSource
            }
            MouseArea {
                anchors.fill: parent
                onDoubleClicked: (mouse) => {
                    // The tapped point of the picture stays in the middle of the screen.
                    const before = photo.scale
                    const from = (mouse.x - flick.contentWidth / 2) / before
                    const fromY = (mouse.y - flick.contentHeight / 2) / before
                    photo.scale = viewer.doubleTapped(before)
                    flick.contentX = Math.max(0, flick.contentWidth / 2 + from * photo.scale - flick.width / 2)
                    flick.contentY = Math.max(0, flick.contentHeight / 2 + fromY * photo.scale - flick.height / 2)
                    flick.returnToBounds()
                }
            }
        }
    }
}
