import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Kompaun

// "Peta": the compound's position as a draggable pin on a web-map tile map.
ScreenPage {
    id: screen
    objectName: "contactUsView"
    // The position from the location form, as its fields show it.
    property string contactLat
    property string contactLong
    MapViewController { id: controller; context: AppContext }
    Component.onCompleted: controller.initContactUsTemplateDictionary({ "lat": screen.contactLat,
                                                                        "long": screen.contactLong })
    onAppearing: controller.viewWillAppear()
    onVisibleChanged: if (!screen.visible) controller.viewWillDisappear()

    Item {
        id: map
        objectName: "mapView"
        anchors.fill: parent
        clip: true
        // Whether any tile has come as a picture, and whether any could not be had: a map with none
        // drawn says so instead of showing an empty grid.
        property bool tileLoaded: false
        property bool tileFailed: false
        onWidthChanged: controller.setViewSize(map.width, map.height)
        onHeightChanged: controller.setViewSize(map.width, map.height)
        Component.onCompleted: controller.setViewSize(map.width, map.height)

        Rectangle { anchors.fill: parent; color: Theme.mapGround }
        // The tiles over a plain grid: where a tile cannot be had, the grid shows through.
        Repeater {
            model: controller.tiles
            delegate: Rectangle {
                id: cell
                required property string source
                required property real tileLeft
                required property real tileTop
                x: cell.tileLeft
                y: cell.tileTop
                width: 256
                height: 256
                color: "transparent"
                border.color: Theme.mapTileBorder
                Image {
                    id: tile
                    anchors.fill: parent
                    asynchronous: true
                    cache: true
                    source: cell.source
                    // A tile that could not be had comes as a single clear pixel: an empty square. The map,
                    // from inside the repeater's delegate.
                    // qmllint disable unqualified
                    onStatusChanged: {
                        if (tile.status !== Image.Ready)
                            return
                        if (tile.sourceSize.width > 1)
                            map.tileLoaded = true
                        else
                            map.tileFailed = true
                    }
                    // qmllint enable unqualified
                }
            }
        }

        MouseArea {
            id: panArea
            objectName: "mapPanArea"
            anchors.fill: parent
            property point last
            property point pressedAt
            onPressed: (mouse) => {
                panArea.last = Qt.point(mouse.x, mouse.y)
                panArea.pressedAt = panArea.last
            }
            onPositionChanged: (mouse) => {
                controller.panBy(mouse.x - panArea.last.x, mouse.y - panArea.last.y)
                panArea.last = Qt.point(mouse.x, mouse.y)
            }
            // A tap, not a pan: with no pin yet, the officer places it there.
            onReleased: (mouse) => {
                if (Math.abs(mouse.x - panArea.pressedAt.x) + Math.abs(mouse.y - panArea.pressedAt.y) < 6)
                    controller.mapTapped(mouse.x, mouse.y)
            }
        }
        PinchHandler {
            id: pinch
            target: null
            onActiveChanged: if (!pinch.active) controller.pinchFinished(pinch.activeScale)
        }

        // The pin: its point is the bottom of the stem.
        Item {
            id: pin
            objectName: "mapPin"
            visible: controller.hasPin
            width: 48
            height: 52
            x: controller.pinX - pin.width / 2
            y: controller.pinY - pin.height
            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                y: 24
                width: 4
                height: 28
                radius: 2
                color: Theme.pinStem
            }
            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                width: 30
                height: 30
                radius: 15
                color: controller.dragging ? Theme.pinDragged : Theme.pin
                border.color: "white"
                border.width: 3
            }
            MouseArea {
                id: pinArea
                anchors.fill: parent
                preventStealing: true
                property point pressedAt
                property point last
                property bool moved: false
                onPressed: (mouse) => {
                    const p = pinArea.mapToItem(map, mouse.x, mouse.y)
                    pinArea.pressedAt = p
                    pinArea.last = p
                    pinArea.moved = false
                }
                onPositionChanged: (mouse) => {
                    const p = pinArea.mapToItem(map, mouse.x, mouse.y)
                    if (!pinArea.moved && Math.abs(p.x - pinArea.pressedAt.x) + Math.abs(p.y - pinArea.pressedAt.y) < 6)
                        return
                    if (!pinArea.moved) {
                        pinArea.moved = true
                        controller.beginPinDrag()
                    }
                    controller.dragPinBy(p.x - pinArea.last.x, p.y - pinArea.last.y)
                    pinArea.last = p
                }
                onReleased: {
                    if (pinArea.moved)
                        controller.endPinDrag()
                    else
                        controller.pinTapped()
                }
                onCanceled: if (pinArea.moved) controller.endPinDrag()
            }
        }

        Column {
            anchors { right: parent.right; bottom: parent.bottom; rightMargin: 12; bottomMargin: 52 }
            spacing: 8
            RoundButton {
                objectName: "zoomInButton"
                width: 48
                height: 48
                text: "+"
                font { pixelSize: 22; bold: true }
                onClicked: controller.zoomIn()
            }
            RoundButton {
                objectName: "zoomOutButton"
                width: 48
                height: 48
                text: "−"
                font { pixelSize: 22; bold: true }
                onClicked: controller.zoomOut()
            }
        }

        // The pin's callout: its title, its co-ordinates and the button to navigate there.
        Rectangle {
            id: callout
            objectName: "pinCallout"
            visible: controller.calloutVisible
            width: Math.min(map.width - 24, 290)
            height: 62
            x: Math.max(12, Math.min(map.width - callout.width - 12, controller.pinX - callout.width / 2))
            y: Math.max(8, controller.pinY - pin.height - callout.height - 6)
            radius: 10
            color: "white"
            border.color: Theme.fieldBorder
            RowLayout {
                anchors { fill: parent; leftMargin: 12; rightMargin: 6 }
                spacing: 6
                Column {
                    Layout.fillWidth: true
                    spacing: 2
                    Text {
                        width: parent.width
                        text: controller.pinTitle
                        elide: Text.ElideRight
                        font { pixelSize: 15; bold: true }
                        color: Theme.text
                    }
                    Text {
                        objectName: "pinSubtitle"
                        width: parent.width
                        text: controller.pinSubtitle
                        elide: Text.ElideRight
                        font.pixelSize: 13
                        color: Theme.muted
                    }
                }
                RoundButton {
                    objectName: "calloutButton"
                    Layout.preferredWidth: 40
                    Layout.preferredHeight: 40
                    text: "›"
                    font { pixelSize: 22; bold: true }
                    onClicked: controller.calloutAccessoryControlTapped()
                }
            }
        }

        // What the map cannot show: no position to put a pin at, no tile to draw.
        Column {
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
            spacing: 6
            Rectangle {
                width: parent.width
                height: noPosition.implicitHeight + 14
                visible: !controller.hasPin
                radius: 6
                color: Theme.mapWarning
                border.color: Theme.mapWarningBorder
                Text {
                    id: noPosition
                    objectName: "mapNoPosition"
                    anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 8 }
                    text: controller.noPositionText
                    wrapMode: Text.WordWrap
                    font.pixelSize: 14
                    color: Theme.mapWarningText
                }
            }
            Rectangle {
                width: parent.width
                height: tilesUnavailable.implicitHeight + 14
                visible: !map.tileLoaded && map.tileFailed
                radius: 6
                color: Theme.mapNote
                border.color: Theme.fieldBorder
                Text {
                    id: tilesUnavailable
                    objectName: "mapTilesUnavailable"
                    anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter; margins: 8 }
                    text: "Peta tidak dapat dimuatkan"
                    wrapMode: Text.WordWrap
                    font.pixelSize: 14
                    color: Theme.secondaryText
                }
            }
        }

        // The pin's co-ordinates, legible with or without tiles beneath.
        Rectangle {
            visible: controller.hasPin
            anchors { left: parent.left; bottom: parent.bottom; margins: 10 }
            width: coordinates.implicitWidth + 16
            height: coordinates.implicitHeight + 10
            radius: 6
            color: Theme.mapCallout
            Text {
                id: coordinates
                objectName: "pinCoordinates"
                anchors.centerIn: parent
                text: controller.pinSubtitle + "  (zum " + controller.zoom + ")"
                font.pixelSize: 13
                color: Theme.text
            }
        }
    }

    // "Open Using": the navigation applications, over the map.
    Rectangle {
        objectName: "navigationChoice"
        anchors.fill: parent
        visible: controller.choiceVisible
        color: Theme.mapScrim
        MouseArea { anchors.fill: parent }
        Column {
            anchors { left: parent.left; right: parent.right; bottom: parent.bottom; margins: 10 }
            spacing: 8
            Rectangle {
                width: parent.width
                height: sheet.implicitHeight
                radius: 12
                color: Theme.darkSheet
                Column {
                    id: sheet
                    width: parent.width
                    Text {
                        width: parent.width
                        height: 40
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        text: controller.choiceTitle
                        font.pixelSize: 13
                        color: Theme.fieldBorder
                    }
                    Button {
                        id: choice0
                        objectName: "choiceButton0"
                        width: parent.width
                        height: 52
                        flat: true
                        contentItem: Text {
                            text: controller.choiceButtons[0]
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            font.pixelSize: 18
                            color: Theme.darkSheetLink
                        }
                        background: Rectangle {
                            color: choice0.down ? Theme.darkSheetPressed : "transparent"
                            Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top }
                                        height: 1; color: Theme.darkSheetLine }
                        }
                        onClicked: controller.actionSheetClickedButtonAtIndex(0)
                    }
                    Button {
                        id: choice1
                        objectName: "choiceButton1"
                        width: parent.width
                        height: 52
                        flat: true
                        contentItem: Text {
                            text: controller.choiceButtons[1]
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            font.pixelSize: 18
                            color: Theme.darkSheetLink
                        }
                        background: Rectangle {
                            color: choice1.down ? Theme.darkSheetPressed : "transparent"
                            Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top }
                                        height: 1; color: Theme.darkSheetLine }
                        }
                        onClicked: controller.actionSheetClickedButtonAtIndex(1)
                    }
                    Button {
                        id: choice2
                        objectName: "choiceButton2"
                        width: parent.width
                        height: 52
                        flat: true
                        contentItem: Text {
                            text: controller.choiceButtons[2]
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                            font.pixelSize: 18
                            color: Theme.darkSheetLink
                        }
                        background: Rectangle {
                            color: choice2.down ? Theme.darkSheetPressed : "transparent"
                            Rectangle { anchors { left: parent.left; right: parent.right; top: parent.top }
                                        height: 1; color: Theme.darkSheetLine }
                        }
                        onClicked: controller.actionSheetClickedButtonAtIndex(2)
                    }
                }
            }
            Button {
                objectName: "choiceCancelButton"
                width: parent.width
                height: 52
                contentItem: Text {
                    text: controller.cancelButton
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    font { pixelSize: 18; bold: true }
                    color: Theme.darkSheetLink
                }
                background: Rectangle { radius: 12; color: Theme.darkSheet }
                onClicked: controller.actionSheetClickedButtonAtIndex(controller.choiceButtons.length)
            }
        }
    }
}
