import QtQuick
import Kompaun

// Holds the vehicle form's place in the form set until the form itself is built.
ScreenPage {
    objectName: "kenderaanTabView"
    title: "Kenderaan"
    PlaceholderText {
        heading: "Kenderaan"
    }
}
