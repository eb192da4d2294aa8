import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import TarvukeGlimp.Components

// Between turns: the phone goes to the next pair. Names who guesses and shows the score;
// a tap anywhere but the back arrow starts the turn.
Item {
    id: root

    required property GameStore game

    // The whole screen is the button, under the texts (they let touches through) and
    // scrolling with them on a screen too short for them.
    T.AbstractButton {
        id: start

        objectName: "startTurn"
        parent: scroller.contentItem
        z: -1
        anchors.fill: parent
        Accessible.name: "Тапните, чтобы начать"
        Accessible.onPressAction: clicked()
        onClicked: root.game.startTurn()
    }

    ScrollingColumn {
        id: scroller

        anchors.fill: parent
        sidePadding: 22
        topPadding: 14
        bottomPadding: 14
        spacing: 18
        opacity: start.pressed ? Theme.pressedOpacity : 1

        Behavior on opacity { NumberAnimation { duration: 120 } }

        AppTopBar {
            title: "ПЕРЕДАЙТЕ ТЕЛЕФОН"
            back: () => root.game.goHome()
        }

        Item { Layout.fillHeight: true }

        FittedText {
            objectName: "teamName"
            Accessible.role: Accessible.StaticText
            Accessible.name: root.game.currentTeamName
            Layout.fillWidth: true
            text: root.game.currentTeamName.toUpperCase()
            color: Theme.ink
            font.family: Theme.roundedFamily
            font.weight: Font.Black
            fullSize: 38
            minimumScale: 0.55
            // Room for any real name; a story-long one must not push the rest off screen.
            lineLimit: 4
            horizontalAlignment: Text.AlignHCenter
        }

        InkCard {
            Layout.fillWidth: true
            Layout.leftMargin: 22
            Layout.rightMargin: 22
            color: Theme.tinted(Theme.lavender, 0.42)

            ColumnLayout {
                spacing: 9

                Text {
                    Layout.fillWidth: true
                    text: "Отгадывает"
                    color: Theme.tinted(Theme.ink, 0.65)
                    font: Theme.rounded(14, Font.Black)
                    horizontalAlignment: Text.AlignHCenter
                    textFormat: Text.PlainText
                }

                Text {
                    objectName: "guesser"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Отгадывает " + text
                    Layout.fillWidth: true
                    text: root.game.currentPlayerName
                    color: Theme.ink
                    font: Theme.rounded(31, Font.Black)
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    maximumLineCount: 3
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                }
            }
        }

        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Тапните, чтобы начать"
            color: Theme.ink
            font: Theme.rounded(20, Font.Black)
            textFormat: Text.PlainText
        }

        Icon {
            Layout.alignment: Qt.AlignHCenter
            name: "hand.tap.fill"
            size: 38
            color: Theme.coral
        }

        Item { Layout.fillHeight: true }

        InkCard {
            Layout.fillWidth: true
            Layout.leftMargin: 22
            Layout.rightMargin: 22
            color: Theme.tinted("white", 0.85)

            ColumnLayout {
                spacing: 10

                SectionTitle {
                    title: "Счёт сейчас"
                }

                Scoreboard {
                    objectName: "scoreboard"
                    Layout.fillWidth: true
                    teams: root.game.teams
                }
            }
        }
    }
}
