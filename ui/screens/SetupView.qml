import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import TarvukeGlimp.Components

// A new game: who plays and how. Every control writes straight into the store's settings,
// so nothing here is lost by leaving; the screen only shows what the store holds.
Item {
    id: root

    required property GameStore game

    readonly property var settings: game.settings

    // Takes the focus off whatever field has it, and the keyboard away with it.
    function dismissKeyboard() {
        root.forceActiveFocus()
        Qt.inputMethod.hide()
    }

    Flickable {
        id: scroller

        anchors.fill: parent
        contentWidth: width
        contentHeight: column.implicitHeight + 28
        onMovementStarted: root.dismissKeyboard()
        Basic.ScrollIndicator.vertical: Basic.ScrollIndicator { }

        KeyboardAvoidance {
            flickable: scroller
        }

        ColumnLayout {
            id: column

            x: 22 + Theme.columnInset(scroller.width)
            y: 14
            width: scroller.width - 2 * x
            spacing: 18

            AppTopBar {
                title: "НОВАЯ ИГРА"
                back: () => root.game.goHome()
            }

            Text {
                Layout.fillWidth: true
                text: "Кого зовём?"
                color: Theme.ink
                font: Theme.rounded(32, Font.Black)
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }

            Text {
                Layout.fillWidth: true
                text: "Каждый игрок — с новой строки (или через запятую). При нечётном составе один человек станет наблюдателем."
                color: Theme.tinted(Theme.ink, 0.65)
                font: Theme.rounded(14, Font.Medium)
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }

            Item {
                id: names

                Layout.fillWidth: true
                Layout.preferredHeight: 120

                InkTextEditor {
                    id: namesEditor

                    anchors.fill: parent
                    inset: 12
                    radius: 20
                    accessibleName: "Имена игроков, по одному на строку"
                    text: root.settings.playerText
                    onEdited: text => root.game.setPlayerText(text)
                }

                // Grows out of its centre when the first character arrives and shrinks
                // away when the text is emptied.
                T.AbstractButton {
                    id: clearButton

                    readonly property bool shown: root.settings.playerText.length > 0

                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    anchors.margins: 10
                    width: 30
                    height: 30
                    enabled: shown
                    visible: opacity > 0
                    focusPolicy: Qt.NoFocus
                    scale: shown ? 1 : 0.00001
                    opacity: shown ? 1 : 0
                    Accessible.name: "Очистить список игроков"
                    Accessible.onPressAction: if (enabled) clicked()
                    onClicked: root.game.setPlayerText("")

                    Behavior on scale { NumberAnimation { duration: 160; easing.type: Easing.OutQuad } }
                    Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutQuad } }

                    background: Rectangle {
                        radius: width / 2
                        antialiasing: true
                        color: Theme.ink
                        opacity: clearButton.pressed ? Theme.pressedOpacity : 1
                    }

                    contentItem: Icon {
                        name: "xmark"
                        size: 13
                        color: "white"
                    }
                }
            }

            SettingsBlock {
                title: "Сложность"

                ChoiceRow {
                    items: root.game.difficultyLabels()
                    selection: root.settings.difficulty
                    onSelect: item => root.game.setDifficulty(item)
                }
            }

            SettingsBlock {
                title: "Пользовательские слова"

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8

                    Text {
                        Layout.fillWidth: true
                        text: root.settings.usesCustomWords ? "Включены" : "Выключены"
                        color: Theme.ink
                        font: Theme.rounded(17, Font.Bold)
                        textFormat: Text.PlainText
                    }

                    T.Switch {
                        id: customWordsSwitch

                        checked: root.settings.usesCustomWords
                        onToggled: root.game.setUsesCustomWords(checked)
                        focusPolicy: Qt.TabFocus
                        implicitWidth: 51
                        implicitHeight: 31
                        Accessible.name: "Пользовательские слова"
                        Accessible.onToggleAction: {
                            toggle()
                            toggled()
                        }
                        Accessible.onPressAction: {
                            toggle()
                            toggled()
                        }

                        indicator: Rectangle {
                            width: 51
                            height: 31
                            radius: height / 2
                            antialiasing: true
                            color: customWordsSwitch.checked ? Theme.coral : Theme.tinted(Theme.ink, 0.14)
                            Behavior on color { ColorAnimation { duration: 160 } }

                            Rectangle {
                                x: customWordsSwitch.checked ? parent.width - width - 2 : 2
                                y: 2
                                width: 27
                                height: 27
                                radius: height / 2
                                antialiasing: true
                                color: "white"
                                border.width: 0.5
                                border.color: Theme.tinted(Theme.ink, 0.12)
                                Behavior on x { NumberAnimation { duration: 160; easing.type: Easing.OutQuad } }
                            }
                        }
                    }
                }
            }

            SettingsBlock {
                title: "Время на ответ"

                ChoiceRow {
                    items: root.game.roundDurationValues()
                    selection: root.settings.roundDuration
                    title: seconds => root.game.roundDurationLabel(seconds)
                    onSelect: item => root.game.setRoundDuration(item)
                }
            }

            SettingsBlock {
                title: "Слов для победы"

                // Shows the store's number; while it is being typed into, every text that
                // reads as a number is stored at once and anything else is refused. It never
                // shows one number while the store holds another: a number the store raises
                // (0 becomes 1) replaces the typed one, selected so the next digit replaces it
                // in turn, and an empty field shows the stored number faded.
                T.TextField {
                    id: wordsField

                    // The last text the store accepted (or empty).
                    property string accepted

                    function showStored() {
                        text = root.game.wordsToWinText
                        accepted = text
                    }

                    function numberIn(s) {
                        try {
                            return Number.fromLocaleString(Qt.locale(), s.trim())
                        } catch (e) {
                            return Number(s.trim())
                        }
                    }

                    Layout.fillWidth: true
                    padding: 13
                    implicitWidth: contentWidth + leftPadding + rightPadding
                    implicitHeight: contentHeight + topPadding + bottomPadding
                    font: Theme.rounded(24, Font.Black)
                    color: Theme.ink
                    placeholderText: root.game.wordsToWinText
                    placeholderTextColor: Theme.tinted(Theme.ink, 0.3)
                    selectionColor: Theme.tinted(Theme.lavender, 0.6)
                    selectedTextColor: Theme.ink
                    inputMethodHints: Qt.ImhDigitsOnly
                    selectByMouse: true
                    Accessible.name: "Слов для победы"

                    onTextEdited: {
                        if (text === "") {
                            accepted = text
                            return
                        }
                        if (root.game.setWordsToWinText(text)) {
                            accepted = text
                            if (numberIn(text) !== root.settings.wordsToWin) {
                                showStored()
                                selectAll()
                            }
                            return
                        }
                        const cursor = Math.max(0, cursorPosition - (text.length - accepted.length))
                        text = accepted
                        cursorPosition = Math.min(cursor, text.length)
                    }
                    // Return is the last word on it: the keyboard goes.
                    onAccepted: root.dismissKeyboard()
                    onEditingFinished: showStored()
                    onActiveFocusChanged: {
                        if (!activeFocus)
                            showStored()
                    }
                    Component.onCompleted: showStored()

                    Connections {
                        target: root.game

                        function onSettingsChanged() {
                            if (!wordsField.activeFocus)
                                wordsField.showStored()
                        }

                        // Still on screen while the next one fades in.
                        function onScreenChanged() {
                            wordsField.showStored()
                        }
                    }

                    background: Rectangle {
                        radius: 16
                        antialiasing: true
                        color: Theme.tinted(Theme.sun, 0.35)
                    }

                    Text {
                        x: wordsField.leftPadding
                        y: wordsField.topPadding
                        width: wordsField.availableWidth
                        height: wordsField.availableHeight
                        visible: wordsField.length === 0 && !wordsField.preeditText
                        text: wordsField.placeholderText
                        color: wordsField.placeholderTextColor
                        font: wordsField.font
                        verticalAlignment: Text.AlignVCenter
                        textFormat: Text.PlainText
                    }
                }
            }

            SettingsBlock {
                title: "Время за отгадывание"

                ChoiceRow {
                    items: root.game.bonusTimeValues()
                    selection: root.settings.bonusTime
                    title: seconds => root.game.bonusTimeLabel(seconds)
                    onSelect: item => root.game.setBonusTime(item)
                }
            }

            RowLayout {
                id: observerNote

                visible: root.game.leavesObserver
                spacing: 6

                Icon {
                    name: "eye.fill"
                    size: 14
                    color: Theme.coral
                }

                Text {
                    Layout.fillWidth: true
                    text: "Один случайный человек будет наблюдать"
                    color: Theme.coral
                    font: Theme.rounded(14, Font.Bold)
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                }
            }

            InkButton {
                id: formButton

                Layout.fillWidth: true
                title: "Собрать команды"
                subtitle: root.settings.playerNames.length + " игрока"
                color: Theme.sun
                enabled: root.game.canFormTeams
                opacity: enabled ? (pressed ? Theme.pressedOpacity : 1) : 0.45
                onClicked: root.game.openFormation()
            }
        }
    }
}
