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
    // Body text on light backgrounds.
    readonly property color text: "#111827"
    readonly property color secondaryText: "#374151"
    // Separators and light borders.
    readonly property color line: "#e5e7eb"
    readonly property color fieldBorder: "#d1d5db"
    // The strip behind a search field.
    readonly property color searchStrip: "#dfe2e8"
    readonly property color searchBorder: "#c7cbd3"
    readonly property color idleBorder: "#6b7280"
    readonly property color pressed: "#f3f4f6"
    // The printer linked.
    readonly property color connected: "#15803d"
    // Behind a modal dialog or the progress overlay.
    readonly property color scrim: "#80000000"
    readonly property color overlayCard: "#e6111827"
    readonly property color loginSubtitle: "#c7d2fe"
    readonly property color photoStripActive: "#e0e7ff"
    readonly property color photoStripIdle: "#eef0f4"
    // The map page: ground under missing tiles, tile border, the pin, callout and sheet.
    readonly property color mapGround: "#eef0f3"
    readonly property color mapTileBorder: "#cfd5de"
    readonly property color pin: "#dc2626"
    readonly property color pinDragged: "#ef4444"
    readonly property color pinStem: "#7f1d1d"
    readonly property color mapCallout: "#e6ffffff"
    readonly property color mapWarning: "#f2fffbeb"
    readonly property color mapWarningBorder: "#f59e0b"
    readonly property color mapWarningText: "#78350f"
    readonly property color mapNote: "#f2ffffff"
    readonly property color requiredMark: "#dc2626"
    readonly property color mapScrim: "#99000000"
    readonly property color darkSheet: "#e6202020"
    readonly property color darkSheetLink: "#93c5fd"
    readonly property color darkSheetPressed: "#33ffffff"
    readonly property color darkSheetLine: "#44ffffff"
    readonly property int gap: 12
    readonly property int fieldHeight: 48
    readonly property int font: 15
}
