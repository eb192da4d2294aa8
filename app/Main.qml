import QtQuick
import QtQuick.Window

// The game's one window, phone-sized on a desktop.
Window {
    id: root

    required property var game

    width: 390
    height: 844
    visible: true
    title: "tarvuk’s glimp"
    color: "#FFF7E3"

    ContentView {
        anchors.fill: parent
        game: root.game
    }
}
