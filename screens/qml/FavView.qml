import QtQuick
import Kompaun

// "Simpanan": the favourite offences.
ScreenPage {
    objectName: "favView"
    PlaceholderText {
        heading: "Simpanan"
        message: "Kesalahan kegemaran akan dipaparkan di sini."
    }
}
