import QtQuick
// The module's C++ types are not part of its implicit directory import.
import TarvukeGlimp.Components

// The cream paper behind every screen, with two faint circles and two outlined stars placed
// from the centre of the window. It fills the whole window, edge to edge.
Item {
    id: root

    Rectangle {
        anchors.fill: parent
        color: Theme.paper
    }

    // Circles take the given width and the full height, and show inscribed in that frame.
    Rectangle {
        readonly property real diameter: Math.min(180, root.height)
        x: root.width / 2 + 150 - diameter / 2
        y: root.height / 2 - 350 - diameter / 2
        width: diameter
        height: diameter
        radius: diameter / 2
        antialiasing: true
        color: Theme.tinted(Theme.sun, 0.25)
    }

    Rectangle {
        readonly property real diameter: Math.min(150, root.height)
        x: root.width / 2 - 155 - diameter / 2
        y: root.height / 2 + 280 - diameter / 2
        width: diameter
        height: diameter
        radius: diameter / 2
        antialiasing: true
        color: Theme.tinted(Theme.mint, 0.28)
    }

    DoodleStar {
        x: root.width / 2 - 150 - width / 2
        y: root.height / 2 - 210 - height / 2
        width: 50
        height: 50
        rotation: 12
        strokeColor: Theme.tinted(Theme.ink, 0.14)
        lineWidth: 2
    }

    DoodleStar {
        x: root.width / 2 + 130 - width / 2
        y: root.height / 2 + 300 - height / 2
        width: 42
        height: 42
        rotation: -15
        strokeColor: Theme.tinted(Theme.coral, 0.25)
        lineWidth: 2
    }
}
