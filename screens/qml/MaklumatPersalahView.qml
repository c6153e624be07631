import QtQuick
import Kompaun

// Holds the offender form's place in the form set until the form itself is built.
ScreenPage {
    objectName: "maklumatPersalahView"
    title: "Pesalah"
    PlaceholderText {
        heading: "Pesalah"
    }
}
