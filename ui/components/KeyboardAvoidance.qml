import QtQuick

// Keeps the focused field of a scrolling screen in view above the on-screen keyboard, the
// caret included, while it is typed into: lets the flickable scroll past its end by what
// the keyboard covers and scrolls just far enough. The scroll is the screen's own, not the
// player's: it starts no movement, so "a scroll dismisses the keyboard" does not fire.
Item {
    id: root

    required property Flickable flickable
    // What the keyboard covers of the flickable's bottom.
    readonly property real covered: {
        Keyboard.rectangle
        flickable.height
        flickable.y
        return Keyboard.coverOf(flickable)
    }
    readonly property Item field: {
        const item = root.Window.activeFocusItem
        for (let n = item; n; n = n.parent) {
            if (n === flickable.contentItem)
                return item
        }
        return null
    }
    // Room kept above and below what is revealed.
    property real margin: 12
    // What to keep in view while field is typed into, in field's own coordinates: the field
    // itself, unless the screen wants more around it (the next card, say).
    property var around: field => Qt.rect(0, 0, field.width, field.height)

    // rect of item in the flickable's content, cut to what clipping boxes on the way show.
    function inContent(item, rect) {
        const content = flickable.contentItem
        let box = item.mapToItem(content, rect)
        for (let n = item.parent; n && n !== content; n = n.parent) {
            if (!n.clip)
                continue
            const c = n.mapToItem(content, 0, 0, n.width, n.height)
            const top = Math.max(box.y, c.y)
            const bottom = Math.max(top, Math.min(box.y + box.height, c.y + c.height))
            box = Qt.rect(box.x, top, box.width, bottom - top)
        }
        return box
    }

    function reveal() {
        if (!field || flickable.height <= 0)
            return
        let box = inContent(field, around(field))
        const visible = flickable.height - covered
        // More than there is room for: the field alone, and of a field too tall to show
        // whole (a long list of names) the lines around the caret.
        if (box.height + 2 * margin > visible)
            box = inContent(field, Qt.rect(0, 0, field.width, field.height))
        if (box.height + 2 * margin > visible && field.cursorRectangle !== undefined)
            box = inContent(field, field.cursorRectangle)
        let y = flickable.contentY
        if (box.y + box.height + margin > y + visible)
            y = box.y + box.height + margin - visible
        if (box.y - margin < y)
            y = box.y - margin
        y = Math.max(-flickable.topMargin,
                     Math.min(y, flickable.contentHeight + flickable.bottomMargin - flickable.height))
        flickable.contentY = y
    }

    Binding {
        target: root.flickable
        property: "bottomMargin"
        value: root.covered
    }

    onFieldChanged: Qt.callLater(reveal)
    onCoveredChanged: Qt.callLater(reveal)

    Connections {
        target: root.flickable

        function onHeightChanged() {
            Qt.callLater(root.reveal)
        }
    }

    Connections {
        target: root.field
        ignoreUnknownSignals: true

        function onCursorRectangleChanged() {
            Qt.callLater(root.reveal)
        }
    }
}
