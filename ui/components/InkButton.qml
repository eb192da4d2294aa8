import QtQuick
import QtQuick.Layouts

// A big ink button: title, an optional smaller subtitle below it, and an arrow at the far
// right. It takes the whole width it is given. Disabled, it ignores taps and looks the same;
// the caller fades it when it wants to. A plain item rather than a Templates control: the
// home screen shows two of these, and it opens faster without that module.
Item {
    id: root

    property string title
    // A string, or null for a single-line button.
    property var subtitle: null
    property color color: "white"
    // Size of the arrow; the body text size unless the caller sets another.
    property real arrowSize: Theme.bodySize

    readonly property bool hasSubtitle: typeof subtitle === "string"
    readonly property alias pressed: touch.pressed

    signal clicked()

    Layout.fillWidth: true
    implicitWidth: content.implicitWidth + 40
    implicitHeight: content.implicitHeight + 32
    activeFocusOnTab: true

    opacity: pressed ? Theme.pressedOpacity : 1
    Behavior on opacity { NumberAnimation { duration: 120 } }

    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.description: hasSubtitle ? subtitle : ""
    Accessible.focusable: true
    // A screen reader's "activate" is a tap.
    Accessible.onPressAction: if (enabled) clicked()

    Keys.onSpacePressed: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

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

    RowLayout {
        id: content

        anchors.fill: parent
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.topMargin: 16
        anchors.bottomMargin: 16
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

    // A press that a scroll takes over is no tap.
    MouseArea {
        id: touch

        anchors.fill: parent
        onClicked: root.clicked()
    }
}
