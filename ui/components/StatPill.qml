import QtQuick

// A counter of the play screen: the number over its title in a fixed 78 × 61 tile, so the
// tile keeps its size whatever the number.
Item {
    id: root

    property int number: 0
    property string title
    property color color: "white"

    implicitWidth: 78
    implicitHeight: 61
    width: 78
    height: 61

    Rectangle {
        anchors.fill: parent
        radius: 17
        antialiasing: true
        color: root.color
    }

    // Centred on the edge, like every outline.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -1
        radius: 18
        antialiasing: true
        color: "transparent"
        border.width: 2
        border.color: Theme.ink
    }

    Column {
        anchors.centerIn: parent
        spacing: 1

        Text {
            objectName: "statNumber"
            anchors.horizontalCenter: parent.horizontalCenter
            text: String(root.number)
            color: Theme.ink
            font: Theme.rounded(26, Font.Black)
            textFormat: Text.PlainText
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.title
            color: Theme.ink
            font: Theme.rounded(11, Font.Black)
            textFormat: Text.PlainText
        }
    }
}
