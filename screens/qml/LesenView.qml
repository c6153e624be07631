import QtQuick
import Kompaun

// "Scan": licence and assessment-tax lookup.
ScreenPage {
    objectName: "lesenView"
    PlaceholderText {
        heading: "Lesen/Cukai"
        message: "Semakan lesen dan cukai taksiran akan dipaparkan di sini."
    }
}
