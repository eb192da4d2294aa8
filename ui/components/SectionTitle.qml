import QtQuick

// The small spaced capitals above a card's control.
Text {
    id: root

    property string title

    text: title.toUpperCase()
    color: Theme.tinted(Theme.ink, 0.68)
    font: Theme.spacedCapitals(12, 1.2)
    textFormat: Text.PlainText
}
