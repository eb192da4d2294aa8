import QtQuick
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

    // The toolkit's own controls (text fields, carets, selections) take these instead of a
    // desktop's dark theme.
    palette {
        window: Theme.paper
        windowText: Theme.ink
        base: "white"
        alternateBase: Theme.paper
        text: Theme.ink
        button: "white"
        buttonText: Theme.ink
        brightText: "white"
        highlight: Theme.lavender
        highlightedText: Theme.ink
        placeholderText: Theme.tinted(Theme.ink, 0.45)
        toolTipBase: "white"
        toolTipText: Theme.ink
        light: "white"
        midlight: Theme.paper
        mid: Theme.tinted(Theme.ink, 0.3)
        dark: Theme.ink
        shadow: Theme.ink
        link: Theme.coral
    }

    ContentView {
        anchors.fill: parent
        game: root.game
    }
}
