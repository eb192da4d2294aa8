import QtQuick
import QtQuick.Templates as T

// A card drawn in ink: the content inset by 18, on a rounded face with a hard shadow and a
// 2-pt outline. As large as its content; it sets no width of its own.
T.Control {
    id: root

    property color color: "white"
    default property alias content: root.contentItem

    padding: 18
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    background: Item {
        // The shadow is a sharp copy of the face, offset, as opaque as the face is.
        Rectangle {
            x: 4
            y: 5
            width: parent.width
            height: parent.height
            radius: 26
            antialiasing: true
            color: Theme.tinted(Theme.ink, 0.13 * root.color.a)
        }

        Rectangle {
            anchors.fill: parent
            radius: 26
            antialiasing: true
            color: root.color
        }

        // The outline is centred on the face's edge.
        Rectangle {
            anchors.fill: parent
            anchors.margins: -1
            radius: 27
            antialiasing: true
            color: "transparent"
            border.width: 2
            border.color: Theme.ink
        }
    }
}
