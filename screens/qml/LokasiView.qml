import QtQuick
import Kompaun

// Holds the location form's place in the form set until the form itself is built.
ScreenPage {
    objectName: "lokasiView"
    title: "Lokasi"
    PlaceholderText {
        heading: "Lokasi"
    }
}
