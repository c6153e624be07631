import QtQuick
import Kompaun

// What every screen of a tab is: the stack it sits in, optional buttons for the right of the bar, and
// a signal each time it comes to show (pushed, returned to, or its tab selected again).
Rectangle {
    id: page
    color: Theme.page
    property string title
    property NavigationStack navigation: null
    property Component barButtons: null
    signal appearing()
}
