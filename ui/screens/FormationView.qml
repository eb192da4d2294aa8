import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// How the players pair up: shuffled, or neighbours as typed. The store decides what comes
// next (the observer wheel for an odd count, the team editor otherwise).
Item {
    id: root

    required property GameStore game

    ScrollingColumn {
        id: scroller

        anchors.fill: parent
        sidePadding: 22
        topPadding: 14
        bottomPadding: 14
        spacing: 22

        AppTopBar {
            title: "КОМАНДЫ"
            back: () => root.game.screenName = "setup"
        }

        Item { Layout.fillHeight: true }

        Text {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: parent.width
            text: "Как делимся?"
            color: Theme.ink
            font: Theme.rounded(34, Font.Black)
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            textFormat: Text.PlainText
        }

        Text {
            Layout.fillWidth: true
            text: "По двое — чтобы было кому подсказывать и кого винить."
            color: Theme.tinted(Theme.ink, 0.65)
            font: Theme.rounded(16, Font.Medium)
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            textFormat: Text.PlainText
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 25
            Layout.rightMargin: 25
            spacing: 18

            InkButton {
                Layout.fillWidth: true
                title: "Создать команды рандомно"
                subtitle: "перемешать всех в шляпе"
                color: Theme.lavender
                onClicked: root.game.formTeams(true)
            }

            InkButton {
                Layout.fillWidth: true
                title: "Создать команды не рандомно"
                subtitle: "сосед с соседом"
                color: Theme.mint
                onClicked: root.game.formTeams(false)
            }
        }

        Item { Layout.fillHeight: true }
    }
}
