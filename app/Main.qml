import QtQuick
import QtQuick.Window
import TarvukeGlimp.Components

// The game's one window, phone-sized on a desktop. Its colours are the game's own, light
// whatever the desktop's theme.
Window {
    id: root

    required property GameStore game

    width: 390
    height: 844
    visible: true
    title: "tarvuk’s glimp"
    color: Theme.paper

    ContentView {
        anchors.fill: parent
        game: root.game
    }
}
