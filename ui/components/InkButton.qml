import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// A big ink button: title, an optional smaller subtitle below it, and an arrow at the far
// right. It takes the whole width it is given. Disabled, it ignores taps and looks the same;
// the caller fades it when it wants to.
T.AbstractButton {
    id: root

    property string title
    // A string, or null for a single-line button.
    property var subtitle: null
    property color color: "white"
    // Size of the arrow; the body text size unless the caller sets another.
    property real arrowSize: Theme.bodySize

    readonly property bool hasSubtitle: typeof subtitle === "string"

    Layout.fillWidth: true
    leftPadding: 20
    rightPadding: 20
    topPadding: 16
    bottomPadding: 16
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    opacity: pressed ? Theme.pressedOpacity : 1
    Behavior on opacity { NumberAnimation { duration: 120 } }

    Accessible.name: title
    Accessible.description: hasSubtitle ? subtitle : ""
    // A screen reader's "activate" is a tap.
    Accessible.onPressAction: if (enabled) clicked()

    contentItem: RowLayout {
        spacing: 12

        // Squeezed by a narrow button, the lines wrap instead of running past the arrow.
        ColumnLayout {
            spacing: 2

            Text {
                Layout.fillWidth: true
                text: root.title
                color: Theme.ink
                font: Theme.rounded(20, Font.Black)
                wrapMode: Text.Wrap
            }

            Text {
                Layout.fillWidth: true
                visible: root.hasSubtitle
                text: root.hasSubtitle ? root.subtitle : ""
                color: Theme.ink
                font: Theme.rounded(13, Font.Medium)
                wrapMode: Text.Wrap
            }
        }

        Item { Layout.fillWidth: true }

        Icon {
            name: "arrow.right"
            size: root.arrowSize
        }
    }

    background: Item {
        Rectangle {
            x: 3
            y: 4
            width: parent.width
            height: parent.height
            radius: 22
            antialiasing: true
            color: Theme.tinted(Theme.ink, 0.20 * root.color.a)
        }

        Rectangle {
            anchors.fill: parent
            radius: 22
            antialiasing: true
            color: root.color
        }

        Rectangle {
            anchors.fill: parent
            anchors.margins: -1
            radius: 23
            antialiasing: true
            color: "transparent"
            border.width: 2
            border.color: Theme.ink
        }
    }
}
