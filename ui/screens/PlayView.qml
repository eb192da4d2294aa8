import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// The turn itself: the word on a round card that the explainer throws right when it was
// guessed and left to skip it, the two counters and the clock. The drag is the only input;
// on a computer ← and → throw the card too.
Item {
    id: root

    required property GameStore game

    // Flips on every tick of the clock; the timer swells on one, settles on the next.
    property bool pulse: false
    // Where the card is pushed to, in points; its sideways part is the throw.
    property real cardX: 0
    property real cardY: 0
    readonly property bool isCardLeaving: thrower.isLeaving
    // How clearly the card leans one way: tint and icon fade in over the first 110 points.
    readonly property real strength: Math.min(Math.abs(cardX) / 110, 1)
    readonly property bool leansLeft: cardX < 0
    // How far a thrown card flies: off either side of the phone, however wide it is turned.
    readonly property real flyDistance: Math.max(520, width / 2 + 300)

    // A drag let go at (tx, ty), or a key: off the side it leans to, or back to rest.
    function release(tx, ty) {
        if (thrower.isLeaving)
            return
        if (thrower.release(tx)) {
            springBack.stop()
            flyX.to = tx > 0 ? flyDistance : -flyDistance
            flyY.to = ty
            fly.start()
        } else {
            springBack.start()
        }
    }

    focus: true
    Keys.onLeftPressed: release(-flyDistance, 0)
    Keys.onRightPressed: release(flyDistance, 0)
    Component.onCompleted: forceActiveFocus()

    CardThrow {
        id: thrower

        objectName: "cardThrow"
        game: root.game
        // The store has the next word by now: it shows at once, at rest.
        onLanded: {
            fly.stop()
            springBack.stop()
            root.cardX = 0
            root.cardY = 0
        }
    }

    ParallelAnimation {
        id: springBack

        ResponseSpring {
            target: root
            property: "cardX"
            to: 0
            response: 0.34
            dampingFraction: 0.72
        }
        ResponseSpring {
            target: root
            property: "cardY"
            to: 0
            response: 0.34
            dampingFraction: 0.72
        }
    }

    ParallelAnimation {
        id: fly

        NumberAnimation {
            id: flyX

            target: root
            property: "cardX"
            duration: 200
            // The usual ease-in curve.
            easing.type: Easing.BezierSpline
            easing.bezierCurve: [0.42, 0, 1, 1, 1, 1]
        }
        NumberAnimation {
            id: flyY

            target: root
            property: "cardY"
            duration: 200
            easing.type: Easing.BezierSpline
            easing.bezierCurve: [0.42, 0, 1, 1, 1, 1]
        }
    }

    Connections {
        target: root.game

        function onRemainingTimeChanged() {
            root.pulse = !root.pulse
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.columnInset(root.width)
        anchors.rightMargin: anchors.leftMargin
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 25
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            spacing: 8

            StatPill {
                objectName: "skippedPill"
                number: root.game.skippedCount
                title: "пропуск"
                color: Theme.tinted(Theme.coral, 0.72)
            }

            Item { Layout.fillWidth: true }

            Column {
                id: timer

                objectName: "timer"
                Accessible.role: Accessible.StaticText
                Accessible.name: root.game.timeText + " осталось"
                spacing: 2
                scale: root.pulse ? 1.07 : 1

                Behavior on scale {
                    ResponseSpring {
                        response: 0.25
                        dampingFraction: 0.4
                        // Settled after 0.27 s, its last step a fifth of a pixel at the
                        // clock's edge. At the springs' usual 0.001 it rang on unseen to
                        // 0.54 s, twice the frames, and on a GPU each frame redraws the
                        // whole window.
                        epsilon: 0.005
                    }
                }

                FontMetrics {
                    id: clockMetrics

                    font: Theme.rounded(38, Font.Black)
                }

                // Every digit in a cell of the widest digit's width, so the clock does
                // not wobble as it counts down.
                Row {
                    id: clockText

                    objectName: "timeText"
                    readonly property string text: root.game.timeText
                    readonly property real digitWidth: {
                        // Measured again once the metrics have their font.
                        clockMetrics.font
                        let widest = 0
                        for (let d = 0; d <= 9; ++d)
                            widest = Math.max(widest, clockMetrics.advanceWidth(String(d)))
                        return widest
                    }

                    anchors.horizontalCenter: parent.horizontalCenter

                    Repeater {
                        model: clockText.text.split("")

                        Item {
                            required property string modelData

                            width: modelData >= "0" && modelData <= "9"
                                   ? clockText.digitWidth
                                   : clockMetrics.font && clockMetrics.advanceWidth(modelData)
                            height: glyph.implicitHeight

                            Text {
                                id: glyph

                                anchors.horizontalCenter: parent.horizontalCenter
                                text: parent.modelData
                                color: Theme.ink
                                font: Theme.rounded(38, Font.Black)
                                textFormat: Text.PlainText
                            }
                        }
                    }
                }

                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "осталось"
                    color: Theme.tinted(Theme.ink, 0.6)
                    font: Theme.rounded(12, Font.Black)
                    textFormat: Text.PlainText
                }
            }

            Item { Layout.fillWidth: true }

            StatPill {
                objectName: "guessedPill"
                number: root.game.guessedCount
                title: "угадано"
                color: Theme.mint
            }
        }

        Text {
            objectName: "teamName"
            Layout.fillWidth: true
            Layout.topMargin: 20
            text: root.game.currentTeamName.toUpperCase()
            color: Theme.ink
            font: Theme.spacedCapitals(12, 1.3)
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            textFormat: Text.PlainText
        }

        Item { Layout.fillHeight: true }

        // The card's resting place. The drag is read here, where the card rests, so the
        // card's own movement never feeds back into the drag.
        Item {
            id: cardSlot

            // 290 on a phone; on a tablet 60 % of the window's shorter side. Smaller on a
            // phone turned sideways, so the counters and hints stay in view.
            readonly property real fullSize: Math.max(290, 0.6 * Math.min(root.width, root.height))

            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: Math.max(150, Math.min(fullSize, root.height - 200))
            Layout.preferredHeight: Layout.preferredWidth

            Item {
                id: cardFrame

                objectName: "card"
                anchors.fill: parent
                // Turns and shrinks about the resting centre, so a thrown card swings
                // down as it flies off.
                rotation: root.cardX / 24
                scale: root.isCardLeaving ? 0.94 : 1

                Item {
                    id: card

                    x: root.cardX
                    y: root.cardY
                    width: parent.width
                    height: parent.height

                    Rectangle {
                        objectName: "tint"
                        x: (parent.width - width) / 2 + 8
                        y: (parent.height - height) / 2 + 10
                        width: parent.width - 5
                        height: parent.height - 5
                        radius: width / 2
                        antialiasing: true
                        color: root.leansLeft ? Theme.coral : Theme.mint
                        opacity: root.strength * 0.38
                    }

                    // As opaque as the face over it, so an own word's face keeps its colour.
                    CircleShadow {
                        x: (parent.width - width) / 2
                        y: (parent.height - height) / 2 + 7
                        diameter: parent.width
                        blur: 8
                        color: Theme.tinted(Theme.ink, 0.16 * cardFace.color.a)
                    }

                    Rectangle {
                        id: cardFace

                        objectName: "face"
                        anchors.fill: parent
                        radius: width / 2
                        antialiasing: true
                        color: root.game.currentWordIsCustom ? Theme.tinted(Theme.sun, 0.58)
                                                             : "white"
                    }

                    Rectangle {
                        anchors.fill: parent
                        anchors.margins: -1.5
                        radius: width / 2
                        antialiasing: true
                        color: "transparent"
                        border.width: 3
                        border.color: Theme.ink
                    }

                    FittedText {
                        objectName: "word"
                        anchors.fill: parent
                        anchors.margins: parent.width * 0.12
                        text: root.game.currentWord
                        color: Theme.ink
                        font.family: Theme.roundedFamily
                        font.hintingPreference: Font.PreferFullHinting
                        font.weight: Font.Black
                        // In proportion to the card, so a long word fits a shrunken card as
                        // it fits the full one, rather than breaking inside the word.
                        fullSize: 35 * parent.width / 290
                        minimumScale: 0.45
                        lineLimit: 3
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }

                    Icon {
                        objectName: "directionIcon"
                        // Below the word, inside the card at any size the card shrinks to.
                        anchors.centerIn: parent
                        anchors.verticalCenterOffset: parent.width * 90 / 290
                        name: root.leansLeft ? "arrow.uturn.backward" : "checkmark"
                        size: Math.round(35 * parent.width / 290)
                        color: root.leansLeft ? Theme.coral : Theme.mint
                        opacity: root.strength
                    }
                }
            }

            MouseArea {
                id: dragArea

                // Where the finger went down, and whether it has moved far enough to drag.
                property real pressX: 0
                property real pressY: 0
                property bool dragging: false

                objectName: "dragArea"
                anchors.fill: parent
                preventStealing: true

                Accessible.role: Accessible.Button
                Accessible.name: root.game.currentWord
                Accessible.description: "Смахните вправо, если угадали. Влево, если пропуск"

                onPressed: mouse => {
                    // Only the round card, not the corners of its box.
                    const dx = mouse.x - width / 2
                    const dy = mouse.y - height / 2
                    if (dx * dx + dy * dy > width * width / 4) {
                        mouse.accepted = false
                        return
                    }
                    pressX = mouse.x
                    pressY = mouse.y
                    dragging = false
                }
                onPositionChanged: mouse => {
                    const tx = mouse.x - pressX
                    const ty = mouse.y - pressY
                    if (!dragging) {
                        if (Math.hypot(tx, ty) < 12)
                            return
                        dragging = true
                    }
                    if (root.isCardLeaving)
                        return
                    springBack.stop()
                    root.cardX = tx
                    root.cardY = ty
                }
                onReleased: mouse => {
                    if (!dragging)
                        return
                    dragging = false
                    root.release(mouse.x - pressX, mouse.y - pressY)
                }
                onCanceled: {
                    if (!dragging)
                        return
                    dragging = false
                    if (!root.isCardLeaving)
                        springBack.start()
                }
            }
        }

        Item { Layout.fillHeight: true }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.bottomMargin: 25
            spacing: 13

            RowLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 26
                Layout.rightMargin: 26
                spacing: 12

                Icon {
                    name: "arrow.left"
                    size: 14
                    color: Theme.tinted(Theme.ink, 0.68)
                }

                Text {
                    text: "пропуск"
                    color: Theme.tinted(Theme.ink, 0.68)
                    font: Theme.rounded(14, Font.Bold)
                    textFormat: Text.PlainText
                }

                Item { Layout.fillWidth: true }

                Text {
                    text: "угадали"
                    color: Theme.tinted(Theme.ink, 0.68)
                    font: Theme.rounded(14, Font.Bold)
                    textFormat: Text.PlainText
                }

                Icon {
                    name: "arrow.right"
                    size: 14
                    color: Theme.tinted(Theme.ink, 0.68)
                }
            }

            // Always 16 high, empty or not, so nothing above it moves.
            Text {
                objectName: "bonusLine"
                Layout.fillWidth: true
                Layout.preferredHeight: 16
                readonly property int bonus: root.game.settings.bonusTime
                text: bonus > 0 ? "За ответ +" + bonus + " секунд" : ""
                color: Theme.coral
                font: Theme.rounded(13, Font.Black)
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                textFormat: Text.PlainText
            }
        }
    }
}
