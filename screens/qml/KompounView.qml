import QtQuick
import Kompaun

// Holds the compound form's place in the form set until the form itself is built.
ScreenPage {
    objectName: "kompounView"
    title: "Kompaun"
    PlaceholderText {
        heading: "Kompaun"
    }
}
