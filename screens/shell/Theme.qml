pragma Singleton
import QtQuick

// Colours and sizes shared by every screen.
QtObject {
    readonly property color bar: Qt.rgba(19 / 255, 44 / 255, 124 / 255, 1)
    readonly property color barText: "white"
    readonly property color page: "#f2f3f7"
    readonly property color card: "white"
    readonly property color accent: "#1f6fd1"
    readonly property color danger: "#c0392b"
    readonly property color muted: "#4b5563"
    readonly property int gap: 12
    readonly property int fieldHeight: 48
    readonly property int font: 15
}
