import QtQuick
import QtQuick.Shapes
// The module's C++ types are not part of its implicit directory import.
import TarvukeGlimp.Components

// One of the game's icons by its symbol name ("arrow.left", "crown.fill", …), in a box of
// the given size, in ink unless the caller colours it: a glyph of the icon font, or strokes
// as heavy as the stems of the black titles.
Item {
    id: root

    property string name
    property real size: Theme.bodySize
    property color color: Theme.ink

    readonly property string glyph: IconCatalog.text(name)
    readonly property string outline: IconCatalog.outline(name)
    readonly property bool onDisc: IconCatalog.onDisc(name)

    // The icon font's lines are one size high, so every icon is a square.
    implicitWidth: size
    implicitHeight: size

    // Only glyph icons make a text: a drawn one would cost a font engine for nothing.
    Loader {
        anchors.fill: parent
        active: root.glyph !== ""

        sourceComponent: Text {
            text: root.glyph
            color: root.color
            font.family: "Phosphor-Fill"
            font.pixelSize: root.size
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            textFormat: Text.PlainText
        }
    }

    // The disc is as large as the circle of the Fill glyphs ("checkmark.circle.fill").
    Shape {
        anchors.centerIn: parent
        visible: root.onDisc
        width: root.size
        height: root.size
        antialiasing: true

        ShapePath {
            strokeColor: "transparent"
            fillColor: root.color

            PathAngleArc {
                centerX: root.size / 2
                centerY: root.size / 2
                radiusX: root.size * 0.40625
                radiusY: root.size * 0.40625
                startAngle: 0
                sweepAngle: 360
            }
        }
    }

    Shape {
        anchors.centerIn: parent
        visible: root.outline !== ""
        width: root.size
        height: root.size
        // On a disc the strokes shrink to fit inside it.
        scale: root.onDisc ? 0.55 : 1
        antialiasing: true

        ShapePath {
            strokeColor: root.onDisc ? "white" : root.color
            // Nunito Black's stems are about a sixth of the type size; the icons stand
            // beside type a little smaller than themselves.
            strokeWidth: root.size * (root.onDisc ? 0.13 : 0.14)
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.RoundJoin
            scale: Qt.size(root.size / 24, root.size / 24)

            PathSvg {
                path: root.outline
            }
        }
    }

    onNameChanged: {
        if (name !== "" && glyph === "" && outline === "")
            console.warn("Icon: no glyph for", JSON.stringify(name))
    }
}
