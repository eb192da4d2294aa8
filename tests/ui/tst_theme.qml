import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

// The type conventions reach the faces compiled into the program: without them the software
// renderer would draw boxes in a fallback face and nothing else would notice.
TestCase {
    id: root

    name: "Theme"
    when: windowShown
    visible: true

    readonly property string cyrillic: "СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ булок"

    TextMetrics {
        id: metrics
    }

    function init() {
        failOnWarning(/.*/)
    }

    function advanceIn(font) {
        metrics.font = font
        metrics.text = root.cyrillic
        return metrics.advanceWidth
    }

    function test_roundedWeights_data() {
        return [
            { tag: "medium", weight: Font.Medium, file: "Nunito-Medium.ttf" },
            { tag: "bold", weight: Font.Bold, file: "Nunito-Bold.ttf" },
            { tag: "black", weight: Font.Black, file: "Nunito-Black.ttf" }
        ]
    }

    function test_roundedWeights(data) {
        verify(TestHarness.faceHasGlyphs(data.file, root.cyrillic))
        const measured = advanceIn(Theme.rounded(40, data.weight))
        const expected = TestHarness.faceAdvance(root.cyrillic, data.file, 40)
        // Kerning may move a glyph by a fraction; another weight is off by several percent.
        verify(Math.abs(measured - expected) < 0.01 * expected,
               measured + " vs " + expected)
    }

    function test_weightsAreTellableApart() {
        const black = TestHarness.faceAdvance(root.cyrillic, "Nunito-Black.ttf", 40)
        const bold = TestHarness.faceAdvance(root.cyrillic, "Nunito-Bold.ttf", 40)
        verify(Math.abs(black - bold) > 0.02 * black)
    }

    function test_serifBlackItalic() {
        const measured = advanceIn(Theme.serifBlackItalic(40))
        const expected = TestHarness.faceAdvance(root.cyrillic, "NotoSerif-BlackItalic.ttf", 40)
        verify(Math.abs(measured - expected) < 0.01 * expected, measured + " vs " + expected)
    }

    // Sizes are fixed points, as given, whatever the system's text settings.
    function test_fontSizeIsPixels() {
        compare(Theme.rounded(16, Font.Black).pixelSize, 16)
        compare(Theme.rounded(16, Font.Black).weight, Font.Black)
    }

    function test_tinted() {
        const c = Theme.tinted(Theme.ink, 0.68)
        compare(c.a, 0.68)
        verify(Qt.colorEqual(Qt.rgba(c.r, c.g, c.b, 1), Theme.ink))
    }

    Component {
        id: iconComponent

        Icon {}
    }

    function test_iconsDrawAGlyph() {
        for (const name of IconCatalog.names()) {
            const icon = createTemporaryObject(iconComponent, root, { name: name, size: 30 })
            verify(icon.contentWidth > 10, name)
            verify(TestHarness.faceHasGlyphs(name.endsWith(".fill") || name === "sparkles"
                                             ? "Phosphor-Fill.ttf" : "Phosphor-Bold.ttf",
                                             icon.text), name)
        }
    }

    function test_unknownIconWarns() {
        ignoreWarning(/Icon: no glyph for "no.such.icon"/)
        const icon = createTemporaryObject(iconComponent, root, { name: "no.such.icon" })
        compare(icon.text, "")
    }
}
