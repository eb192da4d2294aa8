import QtQuick
import TarvukeGlimp.Components

// The first screen: the title block up high, the two ways in below it, the footer at the
// bottom. Only the three gaps give way on a short screen; nothing else shrinks.
Item {
    id: root

    required property GameStore game

    // Smallest heights of the gap above the title, the gap between title and buttons, and
    // the gap under the buttons.
    readonly property var gapMinimums: [30, 8, 40]
    readonly property var gaps: shareGaps(height - content.fixedHeight, gapMinimums)

    // Equal shares of the room left over, except that a gap never drops below its minimum:
    // gaps held at their minimum leave the rest to share the remainder.
    function shareGaps(room, minimums) {
        const sizes = minimums.slice()
        let open = minimums.map((_, i) => i)
        let left = room
        for (;;) {
            const share = left / open.length
            const pinned = open.filter(i => minimums[i] > share)
            if (pinned.length === 0) {
                for (const i of open)
                    sizes[i] = share
                return sizes
            }
            for (const i of pinned)
                left -= minimums[i]
            open = open.filter(i => minimums[i] <= share)
            if (open.length === 0)
                return sizes
        }
    }

    // Scrolls only where even the smallest gaps leave too little room (a phone on its side).
    Flickable {
        anchors.fill: parent
        contentWidth: width
        contentHeight: content.height
        interactive: contentHeight > height + 0.5
        boundsBehavior: Flickable.StopAtBounds

        Column {
            id: content

            // Everything but the gaps.
            readonly property real fixedHeight: badge.height + titleWord.height + serifWord.height
                                                + tagline.height + buttons.height + footer.height
                                                + footerGap.height

            x: Theme.columnInset(root.width)
            width: root.width - 2 * x

            Item {
                width: 1
                height: root.gaps[0]
            }

            Item {
                id: badge

                anchors.horizontalCenter: parent.horizontalCenter
                width: 68
                height: 68

                DoodleStar {
                    anchors.fill: parent
                    rotation: -12
                    fillColor: Theme.sun
                }

                // The icon set's "chat-teardrop-text".
                GlyphArt {
                    anchors.centerIn: parent
                    source: ":/art/badge.svg"
                    color: Theme.ink
                }
            }

            // "tarvuk’s" in Nunito's black at 42.
            GlyphArt {
                id: titleWord

                anchors.horizontalCenter: parent.horizontalCenter
                source: ":/art/tarvuks.svg"
                color: Theme.ink
            }

            // Drawn higher than it is laid out, overlapping the word above.
            // "glimp" in Noto Serif's black italic at 66.
            GlyphArt {
                id: serifWord

                anchors.horizontalCenter: parent.horizontalCenter
                source: ":/art/glimp.svg"
                color: Theme.coral
                transform: Translate { y: -12 }
            }

            Text {
                id: tagline

                anchors.horizontalCenter: parent.horizontalCenter
                text: "объясняй. угадывай. побеждай."
                color: Theme.ink
                font: Theme.rounded(15, Font.Bold)
                textFormat: Text.PlainText
                transform: Translate { y: -8 }
            }

            Item {
                width: 1
                height: root.gaps[1]
            }

            Column {
                id: buttons

                x: 28
                width: content.width - 56
                spacing: 16

                InkButton {
                    width: parent.width
                    title: "Новая игра"
                    subtitle: "соберите свою банду"
                    color: Theme.coral
                    onClicked: root.game.startNewGame()
                }

                InkButton {
                    width: parent.width
                    title: "Собственные слова"
                    subtitle: "добавьте свои приколы"
                    color: Theme.mint
                    onClicked: root.game.screenName = "customWords"
                }
            }

            Item {
                width: 1
                height: root.gaps[2]
            }

            Text {
                id: footer

                anchors.horizontalCenter: parent.horizontalCenter
                text: "Версия для шумных вечеров"
                color: Theme.tinted(Theme.ink, 0.55)
                font: Theme.rounded(12, Font.Bold)
                textFormat: Text.PlainText
            }

            Item {
                id: footerGap

                width: 1
                height: 18
            }
        }
    }
}
