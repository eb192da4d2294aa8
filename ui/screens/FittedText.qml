import QtQuick

// Wrapped text that keeps to its width and line limit by shrinking, down to minimumScale of
// its full size; only past that are long words broken and the end cut off. Wrapping comes
// first: a text that fits on more lines at full size stays at full size.
Text {
    id: root

    property real fullSize: 17
    property real minimumScale: 1
    // 0: as many lines as it needs.
    property int lineLimit: 0
    property int fittedSize: fullSize

    function fits(size) {
        measure.font.pixelSize = size
        return (lineLimit <= 0 || measure.lineCount <= lineLimit)
                && measure.contentWidth <= width
    }

    // The largest whole size that fits, found by halving the range. The measure is set up
    // here, not bound: a handler of a change may run before the bindings have followed it.
    function refit() {
        measure.width = width
        measure.text = text
        measure.font.family = font.family
        measure.font.weight = font.weight
        measure.font.letterSpacing = font.letterSpacing
        // Hinted type is laid out on hinted advances, a little wider or narrower.
        measure.font.hintingPreference = font.hintingPreference
        const largest = Math.floor(fullSize)
        const smallest = Math.min(largest, Math.ceil(fullSize * minimumScale))
        if (width <= 0 || fits(largest)) {
            fittedSize = largest
            return
        }
        let low = smallest
        let high = largest - 1
        let best = smallest
        while (low <= high) {
            const middle = Math.floor((low + high) / 2)
            if (fits(middle)) {
                best = middle
                low = middle + 1
            } else {
                high = middle - 1
            }
        }
        fittedSize = best
    }

    font.pixelSize: fittedSize
    wrapMode: Text.Wrap
    maximumLineCount: lineLimit > 0 ? lineLimit : 2147483647
    elide: Text.ElideRight
    textFormat: Text.PlainText

    onTextChanged: refit()
    onWidthChanged: refit()
    onFullSizeChanged: refit()
    onLineLimitChanged: refit()
    Component.onCompleted: refit()

    Text {
        id: measure

        visible: false
        wrapMode: Text.WordWrap
        textFormat: Text.PlainText
    }
}
