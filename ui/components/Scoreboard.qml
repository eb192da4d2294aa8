import QtQuick
import QtQuick.Layouts

// One row per team, in order: the name on one line, cut at the end when it is too long, and
// the score, always whole, at the right. No teams, no height.
Column {
    id: root

    property var teams: []

    spacing: 7

    Repeater {
        model: root.teams

        RowLayout {
            required property var modelData

            width: root.width
            spacing: 8

            Text {
                Layout.fillWidth: true
                Layout.minimumWidth: 0
                text: modelData.name
                color: Theme.ink
                font: Theme.rounded(15, Font.Bold)
                elide: Text.ElideRight
                maximumLineCount: 1
                textFormat: Text.PlainText
            }

            Text {
                Layout.minimumWidth: implicitWidth
                text: String(modelData.score)
                color: Theme.ink
                font: Theme.rounded(20, Font.Black)
                textFormat: Text.PlainText
            }
        }
    }
}
