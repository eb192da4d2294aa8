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
    property bool pulling: true

    function pull() {
        if (area.text === text)
            return
        const wasPulling = pulling
        pulling = true
        area.text = text
        pulling = wasPulling
    }

    onTextChanged: pull()
    Component.onCompleted: {
        pull()
        pulling = false
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
            Accessible.name: root.accessibleName

            onTextChanged: {
                if (!root.pulling && text !== root.text)
                    root.edited(text)
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
