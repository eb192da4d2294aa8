import QtQuick
import TarvukeGlimp.Components

// A stand-in screen with transient state of its own (a counter a tap raises), to see
// whether the router builds a screen afresh.
Rectangle {
    id: root

    required property GameStore game
    property int taps: 0

    color: "transparent"

    MouseArea {
        anchors.fill: parent
        onClicked: root.taps++
    }
}
