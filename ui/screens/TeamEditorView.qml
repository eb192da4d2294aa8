import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import TarvukeGlimp.Components

// The teams as formed, each renamed in place on every keystroke, the observer if there is
// one, and the way into the game. However many teams there are, the cards scroll between
// the heading and "Всё готово", so the button and every team stay in reach.
Item {
    id: root

    required property GameStore game

    // While the on-screen keyboard covers the bottom, the screen is what is left above it:
    // the cards and the bar, the headline and the button put away until it goes. The same
    // while a name is typed into a window too short to show the card typed into and the next
    // one between the headline and the button (a keyboard that shrinks the window, as under
    // Plasma Mobile).
    readonly property real keyboardCover: {
        Keyboard.rectangle
        return Keyboard.coverOf(root)
    }
    readonly property bool typing: keyboardCover > 0 || (avoidance.field !== null && roomForCards < roomWanted)
    // What the column leaves the cards with the headline and the button in place, shown or not.
    readonly property real roomForCards: column.height - topBar.height - headline.height - subtitle.height
                                         - readyButton.height - 5 * column.spacing
    // Two cards and the margins kept round them.
    readonly property real roomWanted: {
        const first = teamCards.count > 0 ? teamCards.itemAt(0) : null
        return first ? 2 * first.height + cards.spacing + 2 * avoidance.margin : 0
    }

    function dismissKeyboard() {
        root.forceActiveFocus()
        Qt.inputMethod.hide()
    }

    // A card scrolled up until no more than a pixel of its face shows is hidden whole: its
    // outline and shadow would otherwise hang at the top edge as a stray line.
    function showsFace(card) {
        return cards.y + card.y + card.height - cardList.contentY > 1
    }

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.leftMargin: 22 + Theme.columnInset(root.width)
        anchors.rightMargin: anchors.leftMargin
        anchors.topMargin: 14
        anchors.bottomMargin: 14 + root.keyboardCover
        spacing: 16

        AppTopBar {
            id: topBar

            title: "КОМАНДЫ"
            back: () => root.game.screenName = "formation"
        }

        Text {
            id: headline

            Layout.fillWidth: true
            visible: !root.typing
            text: "Дайте имена бандам"
            color: Theme.ink
            font: Theme.rounded(30, Font.Black)
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        Text {
            id: subtitle

            Layout.fillWidth: true
            visible: !root.typing
            text: "Или оставьте как есть — тоже звучит грозно."
            color: Theme.tinted(Theme.ink, 0.65)
            font: Theme.rounded(15, Font.Medium)
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        // As tall as the cards when they fit; scrolling when they do not. The margins leave
        // room for the cards' shadows and outlines, which reach past their edges (below, into
        // the gap before the button), and to the right for the scroll indicator beside them.
        Flickable {
            id: cardList

            objectName: "cardList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: contentHeight
            Layout.maximumHeight: contentHeight
            Layout.leftMargin: -2
            Layout.rightMargin: -12
            Layout.bottomMargin: -6
            contentWidth: width
            contentHeight: cards.implicitHeight + 8
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            Basic.ScrollIndicator.vertical: Basic.ScrollIndicator { }

            KeyboardAvoidance {
                id: avoidance

                flickable: cardList
                // The card typed into and the one after it (a team's or the observer's), so
                // that Return moves on to a card already in view.
                around: field => {
                    let index = 0
                    while (index < teamCards.count && teamCards.itemAt(index).nameField !== field)
                        ++index
                    const card = teamCards.itemAt(index)
                    if (!card)
                        return Qt.rect(0, 0, field.width, field.height)
                    const next = teamCards.itemAt(index + 1) ?? (observerCard.visible ? observerCard : card)
                    const top = field.mapFromItem(card, 0, 0).y
                    return Qt.rect(0, top, field.width, field.mapFromItem(next, 0, next.height).y - top)
                }
            }

            ColumnLayout {
                id: cards

                x: 2
                y: 2
                width: cardList.width - 14
                spacing: 16

                // By position, not by record: the store hands out a new list on every
                // rename, and a field being typed into must keep its focus and cursor.
                Repeater {
                    id: teamCards

                    model: root.game.teams.length

                    InkCard {
                        id: card

                        required property int index
                        readonly property var team: root.game.teams[index]
                        readonly property Item nameField: nameField

                        Layout.fillWidth: true
                        opacity: root.showsFace(card) ? 1 : 0
                        color: index % 2 === 0 ? Theme.tinted(Theme.mint, 0.55)
                                               : Theme.tinted(Theme.sun, 0.52)

                        ColumnLayout {
                            spacing: 14

                            T.TextField {
                                id: nameField

                                Layout.fillWidth: true
                                bottomPadding: 7
                                implicitHeight: contentHeight + topPadding + bottomPadding
                                text: card.team ? card.team.name : ""
                                placeholderText: "Название команды"
                                placeholderTextColor: Theme.tinted(Theme.ink, 0.35)
                                font: Theme.rounded(21, Font.Black)
                                color: Theme.ink
                                selectionColor: Theme.tinted(Theme.lavender, 0.6)
                                selectedTextColor: Theme.ink
                                selectByMouse: true
                                Accessible.name: "Название команды"
                                onTextEdited: root.game.setTeamName(card.index, text)
                                // Return moves on to the next team's name; after the last
                                // the keyboard goes.
                                onAccepted: {
                                    const next = teamCards.itemAt(card.index + 1)
                                    if (next)
                                        next.nameField.forceActiveFocus()
                                    else
                                        root.dismissKeyboard()
                                }

                                Text {
                                    x: nameField.leftPadding
                                    y: nameField.topPadding
                                    width: nameField.availableWidth
                                    visible: nameField.length === 0 && !nameField.preeditText
                                    text: nameField.placeholderText
                                    color: nameField.placeholderTextColor
                                    font: nameField.font
                                    elide: Text.ElideRight
                                    textFormat: Text.PlainText
                                }

                                Rectangle {
                                    anchors.left: parent.left
                                    anchors.right: parent.right
                                    anchors.bottom: parent.bottom
                                    height: 1.5
                                    color: Theme.ink
                                }
                            }

                            RowLayout {
                                Layout.fillWidth: true
                                spacing: 10

                                Repeater {
                                    model: card.team ? card.team.players : []

                                    // A long name gives way before the card does: a
                                    // chip may shrink below its text, never grow past it.
                                    Rectangle {
                                        required property string modelData
                                        readonly property real naturalWidth: Math.ceil(playerName.implicitWidth) + 22

                                        Layout.fillWidth: true
                                        Layout.preferredWidth: naturalWidth
                                        Layout.maximumWidth: naturalWidth
                                        Layout.minimumWidth: Math.min(naturalWidth, 96)
                                        Layout.preferredHeight: playerName.implicitHeight + 14
                                        radius: height / 2
                                        antialiasing: true
                                        color: Qt.rgba(1, 1, 1, 0.7)

                                        Text {
                                            id: playerName

                                            anchors.fill: parent
                                            anchors.leftMargin: 11
                                            anchors.rightMargin: 11
                                            verticalAlignment: Text.AlignVCenter
                                            text: modelData
                                            color: Theme.ink
                                            font: Theme.rounded(15, Font.Bold)
                                            elide: Text.ElideRight
                                            maximumLineCount: 1
                                            textFormat: Text.PlainText
                                        }
                                    }
                                }

                                Item { Layout.fillWidth: true }
                            }
                        }
                    }
                }

                InkCard {
                    id: observerCard

                    objectName: "observerCard"
                    visible: typeof root.game.observer === "string"
                    opacity: root.showsFace(observerCard) ? 1 : 0
                    Layout.fillWidth: true
                    color: Theme.tinted(Theme.lavender, 0.5)

                    RowLayout {
                        spacing: 14

                        Icon {
                            name: "eye.fill"
                            size: 25
                        }

                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 4

                            SectionTitle {
                                title: "Наблюдатели"
                            }

                            Text {
                                Layout.fillWidth: true
                                text: root.game.observer ?? ""
                                color: Theme.ink
                                font: Theme.rounded(19, Font.Black)
                                wrapMode: Text.Wrap
                                textFormat: Text.PlainText
                            }
                        }
                    }
                }
            }
        }

        InkButton {
            id: readyButton

            Layout.fillWidth: true
            visible: !root.typing
            title: "Всё готово"
            subtitle: "начинаем игру"
            color: Theme.coral
            onClicked: root.game.screenName = "ready"
        }

        // Keeps the column at the top when the cards need less than the whole height.
        Item { Layout.fillHeight: true }
    }
}
