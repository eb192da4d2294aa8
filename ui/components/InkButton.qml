import QtQuick

// A big ink button: title, an optional smaller subtitle below it, and an arrow at the far
// right. It takes the whole width it is given. Disabled, it ignores taps and looks the same;
// the caller fades it when it wants to. A plain item placed by hand rather than a Templates
// control in layouts: the home screen shows two of these, and its first frame comes sooner
// without those modules. In a layout the caller lets it fill the width.
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

    // It takes the width it is given and wraps its lines to fit, so it asks for no more than
    // its frame: 20 on either side, the arrow, and 24 between the lines and the arrow (12
    // either side of the space between them). Measuring the lines unwrapped as well would lay
    // each of them out twice. 16 above and below.
    implicitWidth: arrow.width + 64
    implicitHeight: Math.max(lines.height, arrow.height) + 32
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

    // Squeezed by a narrow button, the lines wrap instead of running past the arrow.
    Column {
        id: lines

        // Whole pixels, so that the type and the drawn arrow stay sharp.
        x: 20
        y: Math.round((root.height - height) / 2)
        width: Math.max(0, root.width - 40 - 24 - arrow.width)
        spacing: 2

        Text {
            id: titleLine

            width: parent.width
            text: root.title
            color: Theme.ink
            font: Theme.rounded(20, Font.Black)
            wrapMode: Text.Wrap
        }

        Text {
            id: subtitleLine

            width: parent.width
            visible: root.hasSubtitle
            text: root.hasSubtitle ? root.subtitle : ""
            color: Theme.ink
            font: Theme.rounded(13, Font.Medium)
            wrapMode: Text.Wrap
        }
    }

    Icon {
        id: arrow

        x: root.width - 20 - width
        y: Math.round((root.height - height) / 2)
        name: "arrow.right"
        size: root.arrowSize
    }

    // A press that a scroll takes over is no tap.
    MouseArea {
        id: touch

        anchors.fill: parent
        onClicked: root.clicked()
    }
}
