import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T
import TarvukeGlimp.Components

// After a turn: who played, what the turn scored, and each word of it, guessed or passed.
// A tap anywhere passes the phone on; a drag on the list scrolls it.
Item {
    id: root

    required property GameStore game

    function goOn() {
        root.game.continueAfterSummary()
    }

    // The whole screen is the button; the list catches its own taps (below).
    T.AbstractButton {
        id: tapTarget

        objectName: "continueTarget"
        anchors.fill: parent
        Accessible.name: "Тапните, чтобы продолжить"
        Accessible.onPressAction: clicked()
        onClicked: root.goOn()
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.columnInset(root.width)
        anchors.rightMargin: anchors.leftMargin
        anchors.topMargin: 14
        spacing: 12
        opacity: tapTarget.pressed ? Theme.pressedOpacity : 1

        Behavior on opacity { NumberAnimation { duration: 120 } }

        AppTopBar {
            title: "РАУНД ЗАВЕРШЁН"
            back: () => root.game.goHome()
        }

        InkCard {
            Layout.fillWidth: true
            Layout.leftMargin: 22
            Layout.rightMargin: 22
            color: Theme.tinted(Theme.mint, 0.45)

            RowLayout {
                spacing: 8

                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 4

                    Text {
                        objectName: "player"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.fillWidth: true
                        text: root.game.currentPlayerName
                        color: Theme.ink
                        font: Theme.rounded(22, Font.Black)
                        wrapMode: Text.Wrap
                        maximumLineCount: 2
                        elide: Text.ElideRight
                        textFormat: Text.PlainText
                    }

                    Text {
                        objectName: "team"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Layout.fillWidth: true
                        text: root.game.currentTeamName
                        color: Theme.ink
                        font: Theme.rounded(13, Font.Bold)
                        wrapMode: Text.Wrap
                        maximumLineCount: 2
                        elide: Text.ElideRight
                        textFormat: Text.PlainText
                    }
                }

                ColumnLayout {
                    spacing: 4

                    Text {
                        objectName: "points"
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text + " баллов"
                        Layout.alignment: Qt.AlignHCenter
                        text: "+" + root.game.guessedCount
                        color: Theme.ink
                        font: Theme.rounded(30, Font.Black)
                        textFormat: Text.PlainText
                    }

                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: "баллов"
                        color: Theme.ink
                        font: Theme.rounded(11, Font.Black)
                        textFormat: Text.PlainText
                    }
                }
            }
        }

        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 22
            Layout.rightMargin: 22
            text: "Как прошло"
            color: Theme.ink
            font: Theme.rounded(20, Font.Black)
            textFormat: Text.PlainText
        }

        // Only as tall as its rows (up to the room there is), so a tap below the last row
        // lands on the screen's own button.
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                id: words

                objectName: "wordList"
                width: parent.width
                height: Math.min(parent.height, contentHeight)
                clip: true
                spacing: 6
                boundsBehavior: Flickable.StopAtBounds
                model: root.game.roundWords

                T.ScrollIndicator.vertical: T.ScrollIndicator {
                    id: indicator

                    objectName: "scrollIndicator"
                    padding: 2
                    contentItem: Rectangle {
                        implicitWidth: 3
                        implicitHeight: 3
                        radius: 1.5
                        color: Theme.tinted(Theme.ink, 0.4)
                        opacity: indicator.active ? 1 : 0

                        Behavior on opacity { NumberAnimation { duration: 300 } }
                    }
                }

                delegate: Item {
                    id: row

                    required property var modelData
                    required property int index

                    width: ListView.view.width
                    height: face.height

                    // Taps on a row (and on the gaps around it) go on, as anywhere else;
                    // the list takes over the touch once it turns into a drag.
                    MouseArea {
                        anchors.fill: parent
                        anchors.topMargin: -3
                        anchors.bottomMargin: -3
                        onClicked: root.goOn()
                    }

                    Rectangle {
                        id: face

                        objectName: "wordRow"
                        x: 22
                        width: parent.width - 44
                        height: rowContent.implicitHeight + 18
                        radius: 15
                        antialiasing: true
                        color: Theme.tinted("white", 0.8)

                        RowLayout {
                            id: rowContent

                            anchors.fill: parent
                            anchors.leftMargin: 13
                            anchors.rightMargin: 13
                            anchors.topMargin: 9
                            anchors.bottomMargin: 9
                            spacing: 11

                            Icon {
                                objectName: "statusIcon"
                                name: row.modelData.guessed ? "checkmark.circle.fill"
                                                            : "arrow.uturn.right.circle.fill"
                                size: 21
                                color: row.modelData.guessed ? Theme.mint : Theme.coral
                            }

                            // Own words sit on a sun capsule; bank words line up bare.
                            Rectangle {
                                objectName: "wordCapsule"
                                readonly property real padX: row.modelData.isCustom ? 9 : 0
                                readonly property real padY: row.modelData.isCustom ? 4 : 0

                                Layout.maximumWidth: rowContent.width - 32
                                implicitWidth: wordText.implicitWidth + 2 * padX
                                implicitHeight: wordText.implicitHeight + 2 * padY
                                Layout.preferredWidth: implicitWidth
                                Layout.preferredHeight: wordText.height + 2 * padY
                                radius: height / 2
                                antialiasing: true
                                color: row.modelData.isCustom ? Theme.tinted(Theme.sun, 0.55)
                                                              : "transparent"

                                Text {
                                    id: wordText

                                    objectName: "wordText"
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text + (row.modelData.guessed ? ", угадано" : ", пропуск")
                                    x: parent.padX
                                    y: parent.padY
                                    width: parent.width - 2 * parent.padX
                                    text: row.modelData.word
                                    color: Theme.ink
                                    font: Theme.rounded(17, Font.Black)
                                    wrapMode: Text.Wrap
                                    textFormat: Text.PlainText
                                }
                            }

                            Item { Layout.fillWidth: true }
                        }
                    }
                }
            }
        }

        Text {
            Layout.alignment: Qt.AlignHCenter
            Layout.bottomMargin: 21
            text: "Тапните, чтобы продолжить"
            color: Theme.ink
            font: Theme.rounded(17, Font.Black)
            textFormat: Text.PlainText
        }
    }
}
