import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// The players' own words: one per line, stored (and so saved) on every keystroke, with the
// count following along. Leaving by either way loses nothing.
Item {
    id: root

    required property GameStore game

    // While the on-screen keyboard covers the bottom, the screen is what is left above it:
    // the bar, the editor and its count, the texts and the button put away until it goes.
    readonly property real keyboardCover: {
        Keyboard.rectangle
        return Keyboard.coverOf(root)
    }
    readonly property bool typing: keyboardCover > 0

    ScrollingColumn {
        anchors.fill: parent
        anchors.bottomMargin: root.keyboardCover
        sidePadding: 22
        topPadding: 14
        bottomPadding: 14
        spacing: 18

        AppTopBar {
            title: "СВОИ СЛОВА"
            back: () => root.game.goHome()
        }

        Text {
            Layout.fillWidth: true
            visible: !root.typing
            text: "Ваш внутренний лор"
            color: Theme.ink
            font: Theme.rounded(31, Font.Black)
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        Text {
            Layout.fillWidth: true
            visible: !root.typing
            text: "Новое слово — с новой строки. Во время игры они будут попадаться вперемешку с основным пулом."
            color: Theme.tinted(Theme.ink, 0.68)
            font: Theme.rounded(15, Font.Medium)
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        // The editor and the gap under the counter share what height is left, half each;
        // the editor keeps room for a few lines on a short window.
        Item {
            id: rest

            readonly property real leftOver: height - counter.height - 36
            readonly property real editorHeight: root.typing
                    ? Math.max(48, leftOver + 18)
                    : Math.max(96, Math.min(leftOver / 2, leftOver - 8))

            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: root.typing ? 48 + 18 + counter.height
                                              : 96 + 36 + counter.height + 8

            InkTextEditor {
                id: editor

                width: parent.width
                height: rest.editorHeight
                inset: 14
                radius: 24
                accessibleName: "Собственные слова, по одному на строку"
                text: root.game.customWordsText
                onEdited: text => root.game.customWordsText = text
            }

            Text {
                id: counter

                y: editor.height + 18
                text: root.game.customWordCount + " слов в банке"
                color: Theme.coral
                font: Theme.rounded(14, Font.Black)
                textFormat: Text.PlainText
            }
        }

        InkButton {
            Layout.fillWidth: true
            visible: !root.typing
            title: "Готово"
            subtitle: "сохранено на этом устройстве"
            color: Theme.mint
            onClicked: root.game.goHome()
        }
    }
}
