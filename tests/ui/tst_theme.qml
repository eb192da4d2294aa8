import QtQuick
import QtTest
import TarvukeGlimp.Components
import TarvukeGlimp.Testing

// The theme's fonts reach the faces compiled into the program: without them the software
// renderer would draw boxes in a fallback face and nothing else would notice.
ScreenTestCase {
    id: root

    name: "Theme"

    readonly property string cyrillic: "СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ булок"

    TextMetrics {
        id: metrics
    }

    // Each text measures as its own face within kerning's fraction, and not as `other`.
    function test_textMeasuresAsItsFace_data() {
        return [
            { tag: "medium", weight: Font.Medium, file: "Nunito-Medium.ttf", other: "Nunito-Black.ttf" },
            { tag: "bold", weight: Font.Bold, file: "Nunito-Bold.ttf", other: "Nunito-Black.ttf" },
            { tag: "black", weight: Font.Black, file: "Nunito-Black.ttf", other: "Nunito-Bold.ttf" },
            { tag: "serif", serif: true, file: "NotoSerif-BlackItalic.ttf", other: "Nunito-Black.ttf" }
        ]
    }

    function test_textMeasuresAsItsFace(data) {
        metrics.font = data.serif ? Theme.serifBlackItalic(40) : Theme.rounded(40, data.weight)
        metrics.text = root.cyrillic
        const measured = metrics.advanceWidth
        const expected = TestHarness.faceAdvance(root.cyrillic, data.file, 40)
        verify(expected > 0, data.file + " lacks a glyph")
        const other = TestHarness.faceAdvance(root.cyrillic, data.other, 40)
        verify(Math.abs(measured - expected) < 0.01 * expected, measured + " vs " + expected)
        verify(Math.abs(measured - other) > 0.02 * other, measured + " vs " + other)
    }
}
