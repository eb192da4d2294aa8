import QtQuick
import QtQuick.Layouts
import QtQuick.Window
import TarvukeGlimp.Components

// Who sits this game out: the store has already chosen; the wheel only makes a show of it.
// The disc spins down while the names flick through the players, slowing, until the
// observer's name stops in the middle and the way on to the teams appears.
Item {
    id: root

    required property GameStore game

    // The disc's turn in degrees; four whole turns, so the ticks end where they started.
    property real wheelRotation: 0
    // 0 while spinning, springs to 1 at the reveal: moves the button in.
    property real revealProgress: 0
    // The same, kept within 0 and 1 for fades.
    readonly property real crossFade: Math.min(1, Math.max(0, revealProgress))

    readonly property bool isComplete: reveal.isComplete
    // Whether the screen has been on view yet.
    property bool shown: false

    ObserverReveal {
        id: reveal

        game: root.game
        onIsCompleteChanged: {
            if (isComplete)
                root.revealProgress = 1
        }
    }

    Behavior on revealProgress {
        ResponseSpring {
            response: 0.45
            dampingFraction: 0.7
        }
    }

    NumberAnimation {
        id: spin

        target: root
        property: "wheelRotation"
        from: 0
        to: 1440
        duration: 2200
        // The usual ease-out curve.
        easing.type: Easing.BezierSpline
        easing.bezierCurve: [0, 0, 0.58, 1, 1, 1]
    }

    // Leaving stops the show at once: no later name, no haptic, even while this screen
    // is still fading out.
    Connections {
        target: root.game

        function onScreenChanged() {
            if (root.game.screenName !== "observerWheel") {
                reveal.cancel()
                spin.stop()
            }
        }
    }

    // The show begins once the screen is on view, with "Крутим…" in the middle.
    Connections {
        target: root.Window.window
        enabled: !root.shown

        function onFrameSwapped() {
            root.shown = true
            if (reveal.start())
                spin.start()
        }
    }

    ScrollingColumn {
        id: scroller

        anchors.fill: parent
        sidePadding: 22
        topPadding: 14
        bottomPadding: 14
        spacing: 22

        AppTopBar {
            title: "КОЛЕСО РАНДОМА"
            back: () => root.game.cancelObserver()
        }

        Item { Layout.fillHeight: true }

        // Each text that changes at the reveal cross-fades on the reveal's spring, its
        // height following from the old text's to the new one's.
        Item {
            objectName: "headline"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            readonly property string text: root.isComplete ? revealedHeadline.text
                                                           : spinningHeadline.text

            Layout.fillWidth: true
            implicitHeight: spinningHeadline.implicitHeight * (1 - root.crossFade)
                            + revealedHeadline.implicitHeight * root.crossFade

            Text {
                id: spinningHeadline

                width: parent.width
                opacity: 1 - root.crossFade
                text: "Кто пропускает раунд?"
                color: Theme.ink
                font: Theme.rounded(30, Font.Black)
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }

            Text {
                id: revealedHeadline

                width: parent.width
                opacity: root.crossFade
                text: "Наблюдает!"
                color: Theme.ink
                font: Theme.rounded(30, Font.Black)
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }

        Item {
            id: wheel

            objectName: "wheel"
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 275
            Layout.preferredHeight: 275

            Item {
                id: disc

                objectName: "disc"
                anchors.fill: parent
                rotation: root.wheelRotation

                // As opaque as the face over it, so the face keeps its colour.
                CircleShadow {
                    x: (parent.width - width) / 2
                    y: (parent.height - height) / 2 + 6
                    diameter: parent.width
                    blur: 7
                    color: Theme.tinted(Theme.ink, 0.15 * discFace.color.a)
                }

                Rectangle {
                    id: discFace

                    anchors.fill: parent
                    radius: width / 2
                    antialiasing: true
                    color: Theme.tinted(Theme.sun, 0.58)
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

                // Sixteen ticks round the rim, coral and ink in turn, the first straight up.
                Repeater {
                    model: 16

                    Item {
                        required property int index

                        anchors.fill: parent
                        rotation: index * 22.5

                        Rectangle {
                            objectName: "tick" + parent.index
                            x: (parent.width - width) / 2
                            y: parent.height / 2 - 119 - height / 2
                            width: 4
                            height: 17
                            radius: 2
                            antialiasing: true
                            color: parent.index % 2 === 0 ? Theme.coral : Theme.ink
                        }
                    }
                }
            }

            Rectangle {
                id: hub

                anchors.centerIn: parent
                width: 190
                height: 190
                radius: 95
                antialiasing: true
                color: "white"
                border.width: 2
                border.color: Theme.ink
            }

            // Inside the white hub, whatever the name's length.
            Column {
                anchors.centerIn: parent
                width: hub.width - 2 * 18
                spacing: 8

                Item {
                    objectName: "wheelIcon"
                    readonly property string name: root.isComplete ? "eye.fill" : "sparkles"
                    readonly property color color: root.isComplete ? Theme.coral : Theme.lavender

                    anchors.horizontalCenter: parent.horizontalCenter
                    implicitWidth: Math.max(sparkles.implicitWidth, eye.implicitWidth)
                    implicitHeight: Math.max(sparkles.implicitHeight, eye.implicitHeight)

                    Icon {
                        id: sparkles

                        anchors.centerIn: parent
                        opacity: 1 - root.crossFade
                        name: "sparkles"
                        size: 30
                        color: Theme.lavender
                    }

                    Icon {
                        id: eye

                        anchors.centerIn: parent
                        opacity: root.crossFade
                        name: "eye.fill"
                        size: 30
                        color: Theme.coral
                    }
                }

                FittedText {
                    objectName: "displayedName"
                    // Read once it has stopped, not name by name as it spins.
                    Accessible.role: Accessible.StaticText
                    Accessible.name: root.isComplete ? text : ""
                    width: parent.width
                    text: reveal.displayedName
                    color: Theme.ink
                    font.family: Theme.roundedFamily
                    font.weight: Font.Black
                    fullSize: 25
                    minimumScale: 0.55
                    lineLimit: 2
                    horizontalAlignment: Text.AlignHCenter
                }
            }
        }

        Item {
            objectName: "subline"
            readonly property string text: root.isComplete ? revealedSubline.text
                                                           : spinningSubline.text

            Layout.fillWidth: true
            implicitHeight: spinningSubline.implicitHeight * (1 - root.crossFade)
                            + revealedSubline.implicitHeight * root.crossFade

            Text {
                id: spinningSubline

                width: parent.width
                opacity: 1 - root.crossFade
                text: "Выбираем совершенно случайно"
                color: Theme.tinted(Theme.ink, 0.62)
                font: Theme.rounded(15, Font.Bold)
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }

            Text {
                id: revealedSubline

                width: parent.width
                opacity: root.crossFade
                text: "Остальные игроки делятся на пары"
                color: Theme.tinted(Theme.ink, 0.62)
                font: Theme.rounded(15, Font.Bold)
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
            }
        }

        Item { Layout.fillHeight: true }

        // Grows from nothing as the button slides up from the bottom edge and fades in.
        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.max(0, root.revealProgress) * goOn.implicitHeight
            Layout.topMargin: -22 * (1 - root.crossFade)
            visible: root.isComplete

            Item {
                width: parent.width
                height: goOn.implicitHeight
                y: (1 - root.revealProgress) * (root.height - 14 - parent.y)
                opacity: root.crossFade

                InkButton {
                    id: goOn

                    objectName: "toTeams"
                    anchors.fill: parent
                    enabled: root.isComplete
                    title: "К командам"
                    subtitle: "посмотреть составы"
                    color: Theme.mint
                    onClicked: root.game.confirmObserver()
                }
            }
        }
    }
}
