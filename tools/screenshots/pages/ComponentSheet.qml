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
        anchors.topMargin: 16
        spacing: 12

        AppTopBar {
            title: "НОВАЯ ИГРА"
            back: () => {}
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

            // Nothing selected: the selection is none of the items.
            ChoiceRow {
                items: root.game.bonusTimeValues()
                selection: 99
                title: seconds => root.game.bonusTimeLabel(seconds)
            }
        }

        SettingsBlock {
            title: "Кто объясняет"

            ChoiceRow {
                items: ["Аня", "Боря", "Вика", "Гена", "Дима", "Женя", "Зоя", "Илья"]
                selection: "Вика"
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
            Layout.fillWidth: true
            title: "Новая игра"
            color: Theme.coral
        }

        InkButton {
            Layout.fillWidth: true
            title: "Собственные слова"
            subtitle: "Своих слов: 12"
            color: Theme.mint
        }

        InkButton {
            Layout.fillWidth: true
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
