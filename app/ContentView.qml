import QtQuick

// Shows the screen the store names.
Item {
    id: root

    required property var game

    Rectangle {
        anchors.fill: parent
        color: "#FFF7E3"
    }
}
