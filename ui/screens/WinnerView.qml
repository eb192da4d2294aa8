import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import TarvukeGlimp.Components

// The end of the game: the winning pair under a crowned star, the final score, and the way
// to play again with the same people or to go home.
Item {
    id: root

    required property GameStore game

    // Without a winner (never in a finished game) the badge still reads sensibly.
    readonly property string winnerName: game.winner ? game.winner.name : "Команда"
    readonly property int winnerScore: game.winner ? game.winner.score : 0

    ScrollingColumn {
        anchors.fill: parent
        spacing: 20

        Item { Layout.fillHeight: true }

        Item {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 110
            Layout.preferredHeight: 110

            DoodleStar {
                anchors.fill: parent
                fillColor: Theme.sun
            }

            Icon {
                anchors.centerIn: parent
                name: "crown.fill"
                size: 46
            }
        }

        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "ПОБЕДА!"
            color: Theme.ink
            font: Theme.rounded(43, Font.Black)
            textFormat: Text.PlainText
        }

        Text {
            objectName: "winnerName"
            Accessible.role: Accessible.StaticText
            Accessible.name: "Победа! " + text
            Layout.fillWidth: true
            text: root.winnerName
            color: Theme.ink
            font: Theme.rounded(36, Font.Black)
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            // Room for any real name, and still for the buttons under it.
            maximumLineCount: 4
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        Text {
            objectName: "winnerLine"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
            text: "набирает " + root.winnerScore + " баллов и забирает вечер"
            color: Theme.tinted(Theme.ink, 0.65)
            font: Theme.rounded(17, Font.Medium)
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        InkCard {
            Layout.fillWidth: true
            Layout.leftMargin: 32
            Layout.rightMargin: 32
            color: Theme.tinted("white", 0.8)

            Scoreboard {
                objectName: "scoreboard"
                teams: root.game.teams
            }
        }

        Item { Layout.fillHeight: true }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 28
            Layout.rightMargin: 28
            Layout.bottomMargin: 28
            spacing: 14

            InkButton {
                Layout.fillWidth: true
                objectName: "replay"
                title: "Переиграть"
                subtitle: "те же игроки и настройки"
                color: Theme.coral
                onClicked: root.game.replay()
            }

            T.AbstractButton {
                id: home

                objectName: "home"
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: implicitContentWidth
                implicitHeight: implicitContentHeight
                opacity: pressed ? Theme.pressedOpacity : 1
                text: "На главную"
                Accessible.onPressAction: clicked()
                onClicked: root.game.goHome()

                Behavior on opacity { NumberAnimation { duration: 120 } }

                contentItem: Text {
                    text: home.text
                    color: Theme.tinted(Theme.ink, 0.68)
                    font: Theme.rounded(16, Font.Black)
                    textFormat: Text.PlainText
                }
            }
        }
    }
}
