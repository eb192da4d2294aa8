import QtQuick
import TarvukeGlimp.Components

// DoodleStar in the sizes and styles the screens use, and in a flat 100 × 60 box (outlined in
// a thin frame) to see it fit the smaller side, centred.
Window {
    id: root

    required property GameStore game

    width: 390
    height: 844
    visible: true
    color: Theme.paper

    Column {
        anchors.centerIn: parent
        spacing: 30

        DoodleStar {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 110
            height: 110
            fillColor: Theme.sun
        }

        DoodleStar {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 68
            height: 68
            rotation: -12
            fillColor: Theme.sun
        }

        DoodleStar {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 150
            height: 150
            strokeColor: Theme.ink
            lineWidth: 2
        }

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 200
            height: 120
            color: "transparent"
            border.color: Theme.tinted(Theme.ink, 0.3)

            DoodleStar {
                anchors.fill: parent
                strokeColor: Theme.coral
                lineWidth: 2
            }
        }
    }
}
