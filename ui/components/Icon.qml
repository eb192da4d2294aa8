import QtQuick
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
            font.hintingPreference: Font.PreferFullHinting
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            textFormat: Text.PlainText
        }
    }

    // Drawn into a picture rather than as shapes, so that a list's clip cuts it as it cuts
    // text on every renderer (the software one does not clip shapes). The disc is as large
    // as the circle of the Fill glyphs ("checkmark.circle.fill"); on it the strokes shrink
    // to fit, in white.
    Canvas {
        id: drawing

        anchors.centerIn: parent
        width: root.size
        height: root.size
        visible: root.outline !== ""

        onPaint: {
            const ctx = getContext("2d")
            ctx.reset()
            const unit = width / 24
            if (root.onDisc) {
                ctx.fillStyle = root.color
                ctx.beginPath()
                ctx.arc(12 * unit, 12 * unit, 9.75 * unit, 0, 2 * Math.PI)
                ctx.fill()
            }
            // The strokes are laid out on a 24 × 24 grid.
            const shrink = root.onDisc ? 0.55 : 1
            ctx.translate(12 * unit, 12 * unit)
            ctx.scale(unit * shrink, unit * shrink)
            ctx.translate(-12, -12)
            ctx.strokeStyle = root.onDisc ? "white" : root.color
            // As heavy as black type of the icon's size: Nunito Black's stems are 0.18 em.
            ctx.lineWidth = root.onDisc ? 3.1 : 4.4
            ctx.lineCap = "round"
            ctx.lineJoin = "round"
            ctx.path = root.outline
            ctx.stroke()
        }
    }

    onColorChanged: drawing.requestPaint()
    onOutlineChanged: drawing.requestPaint()
    onSizeChanged: drawing.requestPaint()

    onNameChanged: {
        if (name !== "" && glyph === "" && outline === "")
            console.warn("Icon: no glyph for", JSON.stringify(name))
    }
}
