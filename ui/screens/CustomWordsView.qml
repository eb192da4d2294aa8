import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// The players' own words: one per line, stored (and so saved) on every keystroke, with the
// count following along. Leaving by either way loses nothing.
Item {
    id: root

    required property GameStore game

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 22
        anchors.rightMargin: 22
        anchors.topMargin: 14
        anchors.bottomMargin: 14
        spacing: 18

        AppTopBar {
            title: "СВОИ СЛОВА"
            back: () => root.game.goHome()
        }

        Text {
            Layout.fillWidth: true
            text: "Ваш внутренний лор"
            color: Theme.ink
            font: Theme.rounded(31, Font.Black)
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        Text {
            Layout.fillWidth: true
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
            readonly property real editorHeight: Math.max(96, Math.min(leftOver / 2, leftOver - 8))

            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 96 + 36 + counter.height + 8

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
            title: "Готово"
            subtitle: "сохранено на этом устройстве"
            color: Theme.mint
            onClicked: root.game.goHome()
        }
    }
}
