pragma Singleton
import QtQuick

// The game's ink-on-paper palette and type. Sizes are in points (logical pixels); every
// text is set at a fixed size so that it never scales with a system text setting.
QtObject {
    id: root

    readonly property color ink: "#1A2440"
    readonly property color paper: "#FFF7E3"
    readonly property color coral: "#FF735E"
    readonly property color mint: "#8AD4B2"
    readonly property color sun: "#FFC94F"
    readonly property color lavender: "#AD9EED"

    // The rounded design. The title word's serif is set at build time (GlyphArt).
    readonly property string roundedFamily: "Nunito"

    // Text styles that take a size of their own when a caller names them.
    readonly property int title2Size: 22
    readonly property int title3Size: 20
    readonly property int bodySize: 17

    // The widest a screen's column grows. On a tablet or a desktop each screen keeps to a
    // column of this width in the middle of the window, the paper all round it, as adaptive
    // apps clamp their content; a phone's screen is narrower and the column all of it.
    readonly property int maximumColumnWidth: 600

    // What a window this wide leaves on either side of the column: nothing on a phone, whole
    // pixels on a wider window so that the type stays sharp.
    function columnInset(width) {
        return Math.max(0, Math.floor((width - maximumColumnWidth) / 2))
    }

    // How far a plain button fades while a finger is on it.
    readonly property real pressedOpacity: 0.6

    // "16 black" is rounded(16, Font.Black). Fully hinted: the fonts' own hinting puts each
    // glyph on whole pixels, so the software renderer draws it once, where unhinted or
    // lightly hinted type is drawn again for every sub-pixel offset it lands on. The
    // advances are hinted too: a line comes within about 1 % of its design width.
    function rounded(size, weight) {
        return Qt.font({ family: roundedFamily, pixelSize: size, weight: weight,
                         hintingPreference: Font.PreferFullHinting })
    }

    // Letter-spaced black capitals ("СЛОЖНОСТЬ"), hinted only up and down. Put on whole
    // pixels, letters spaced by a fraction of one land a pixel further apart here and there
    // ("СЛОЖНО СТЬ"); these are drawn at their own sub-pixel offsets instead. The few glyphs
    // this costs are none of the first screen's.
    function spacedCapitals(size, spacing) {
        return Qt.font({ family: roundedFamily, pixelSize: size, weight: Font.Black,
                         letterSpacing: spacing, hintingPreference: Font.PreferVerticalHinting })
    }

    // `ink` at 68 % is tinted(ink, 0.68): the colour's opacity multiplied. Colour names
    // ("white") are strings in JavaScript and have no channels until converted.
    function tinted(color, opacity) {
        const c = typeof color === "string" ? Qt.lighter(color, 1.0) : color
        return Qt.rgba(c.r, c.g, c.b, c.a * opacity)
    }
}
