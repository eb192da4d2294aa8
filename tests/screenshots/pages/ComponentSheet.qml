import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// The shared components as the screens use them, on the paper, for a look.
Window {
    id: root

    required property GameStore game

    width: 390
    height: 844
    visible: true
    color: Theme.paper

    PaperBackground {
        anchors.fill: parent
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 18
        anchors.topMargin: 24
        spacing: 14

        AppTopBar {
            title: "НОВАЯ ИГРА"
            back: () => {}
        }

        AppTopBar {
            title: "КОМАНДЫ"
        }

        SettingsBlock {
            title: "Сложность"

            ChoiceRow {
                items: root.game.difficultyLabels()
                selection: root.game.settings.difficulty
            }
        }

        SettingsBlock {
            title: "Бонус за слово"

            ChoiceRow {
                items: root.game.bonusTimeValues().concat([30, 45])
                selection: 99
                title: seconds => root.game.bonusTimeLabel(seconds) || ("+" + seconds + " сек")
            }
        }

        SettingsBlock {
            title: "Игроки"

            Text {
                text: "Аня, Боря"
                color: Theme.ink
                font: Theme.rounded(16, Font.Bold)
            }
        }

        InkCard {
            Layout.fillWidth: true
            color: Theme.tinted(Theme.lavender, 0.5)

            ColumnLayout {
                spacing: 10

                SectionTitle {
                    title: "Счёт"
                }

                Scoreboard {
                    Layout.fillWidth: true
                    teams: root.game.teams
                }
            }
        }

        InkButton {
            title: "Новая игра"
            color: Theme.coral
        }

        InkButton {
            title: "Собственные слова"
            subtitle: "Своих слов: 12"
            color: Theme.mint
        }

        InkButton {
            title: "Собрать команды"
            color: Theme.sun
            enabled: false
            opacity: 0.45
        }

        Item {
            Layout.fillHeight: true
        }
    }
}
