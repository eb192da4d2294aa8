import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Templates as T
import TarvukeGlimp.Components

// A multi-line plain-text editor on a white rounded face with an ink outline, scrolling
// inside its box. It shows `text` and reports every change the player makes through
// `edited`; it never writes back what it was given, so opening a screen saves nothing.
Item {
    id: root

    // What the store holds.
    property string text
    property real inset: 14
    property real radius: 24
    property string accessibleName
    readonly property alias editor: area

    signal edited(string text)

    // True while the store's text is being put into the editor, and until the editor is
    // built: what it reports then is the store's own text coming in, not an edit.
    readonly property bool pulling: !built || filling
    property bool built: false

    // Laying out a text costs about a microsecond a character, all of it at once when the
    // text is set. A longer text goes in piece by piece, one piece a timer tick, so a huge
    // paste or saved list never holds the screen still; the editor is read-only meanwhile.
    readonly property int pieceLength: 8192
    // Qt's text edit draws only the paragraphs in sight once it is given more than 10,000
    // characters at once, so the first piece of a long text is set, and a little longer
    // (it is cut back to a line break).
    readonly property int firstPieceLength: 12288
    // Qt's text edit also walks all its paragraphs at every change, and each one keeps a
    // layout of its own: a million one-line paragraphs cost a second a change and most of
    // a gigabyte. So the lines of a long text come in gathered into paragraphs of about
    // this many characters, joined by line separators, which the editor's text reads back
    // as line breaks.
    readonly property int paragraphLength: 1024
    // Where the next piece of `text` starts; -1 once the whole text is in.
    property int pulledLength: -1
    // Where the cursor goes once the text is in: the end of a long paste.
    property int cursorAfterPull: -1
    readonly property bool filling: pulledLength >= 0

    // The end of the piece of text starting at from: just past a line break where there is
    // one, never between the halves of a surrogate pair.
    function pieceEnd(from, length) {
        let end = Math.min(text.length, from + length)
        if (end === text.length)
            return end
        const lineEnd = text.lastIndexOf("\n", end - 1)
        if (lineEnd >= from)
            return lineEnd + 1
        const code = text.charCodeAt(end - 1)
        return code >= 0xD800 && code <= 0xDBFF ? end - 1 : end
    }

    // The piece from..end of text, its lines gathered into paragraphs; its last line break
    // ends one, so the next piece never lays this one out again. A carriage return before
    // a line feed also ends one: alone it would end a paragraph of its own.
    function gathered(from, end) {
        const lines = text.slice(from, end).split("\n")
        let piece = lines[0]
        let run = piece.length
        for (let i = 1; i < lines.length; ++i) {
            const joins = run < paragraphLength && i < lines.length - 1
                    && !lines[i - 1].endsWith("\r")
            piece += (joins ? "\u2028" : "\n") + lines[i]
            run = (joins ? run + 1 : 0) + lines[i].length
        }
        return piece
    }

    // A short text goes in at once. A long one from the next tick on: by then the screen
    // is laid out, and its first piece is laid out once, at the editor's width.
    function pull() {
        if (!filling && area.text === text)
            return
        pulledLength = 0
        if (text.length <= firstPieceLength)
            pullNextPiece()
    }

    function pullNextPiece() {
        if (text.length <= firstPieceLength) {
            area.text = text
        } else if (pulledLength === 0) {
            const end = pieceEnd(0, firstPieceLength)
            area.text = gathered(0, end)
            pulledLength = end
        } else {
            const end = pieceEnd(pulledLength, pieceLength)
            area.insert(area.length, gathered(pulledLength, end))
            pulledLength = end
        }
        if (pulledLength === 0 || pulledLength === text.length)
            pulledLength = -1
        if (!filling)
            placeCursor()
    }

    // The caret back in view: the box shrinks under it when the on-screen keyboard comes up.
    function keepCaretInView() {
        const caret = area.cursorRectangle
        if (caret.y + caret.height > flickable.contentY + flickable.height)
            flickable.contentY = caret.y + caret.height - flickable.height
        if (caret.y < flickable.contentY)
            flickable.contentY = caret.y
    }

    function placeCursor() {
        if (cursorAfterPull >= 0) {
            area.cursorPosition = Math.min(cursorAfterPull, area.length)
            cursorAfterPull = -1
        }
    }

    // A long paste becomes the store's text at once, and comes back in pieces. A short one
    // takes the editor's own way, which the undo history keeps.
    readonly property int longPasteLength: 32768
    function paste() {
        const pasted = Clipboard.text()
        if (pasted.length <= longPasteLength) {
            area.paste()
            return
        }
        const current = area.text
        cursorAfterPull = area.selectionStart + pasted.length
        edited(current.slice(0, area.selectionStart) + pasted + current.slice(area.selectionEnd))
    }

    onTextChanged: pull()
    Component.onCompleted: {
        pull()
        built = true
    }

    Timer {
        interval: 1
        repeat: true
        running: root.filling
        onTriggered: root.pullNextPiece()
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        antialiasing: true
        color: "white"
    }

    Flickable {
        id: flickable

        anchors.fill: parent
        anchors.margins: root.inset
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        Basic.ScrollIndicator.vertical: Basic.ScrollIndicator { }
        onHeightChanged: {
            if (area.activeFocus)
                Qt.callLater(root.keepCaretInView)
        }

        T.TextArea.flickable: T.TextArea {
            id: area

            padding: 0
            wrapMode: TextEdit.Wrap
            textFormat: TextEdit.PlainText
            selectByMouse: true
            persistentSelection: true
            font: Theme.rounded(18, Font.Bold)
            color: Theme.ink
            selectionColor: Theme.tinted(Theme.lavender, 0.6)
            selectedTextColor: Theme.ink
            readOnly: root.filling
            Accessible.name: root.accessibleName

            Keys.onPressed: event => {
                if (event.matches(StandardKey.Paste)) {
                    event.accepted = true
                    if (!readOnly)
                        root.paste()
                }
            }

            onTextChanged: {
                if (!root.pulling && text !== root.text)
                    root.edited(text)
            }
            // The caret followed as it moves, on every Qt: Qt 6.8's text area leaves its
            // flickable where it is when the caret is placed from code.
            onCursorRectangleChanged: {
                if (activeFocus)
                    Qt.callLater(root.keepCaretInView)
            }
        }
    }

    // Centred on the face's edge, like every outline.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -1
        radius: root.radius + 1
        antialiasing: true
        color: "transparent"
        border.width: 2
        border.color: Theme.ink
    }
}
