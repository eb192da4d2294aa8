import QtQuick

// The small spaced capitals above a card's control.
Text {
    id: root

    property string title

    text: title.toUpperCase()
    color: Theme.tinted(Theme.ink, 0.68)
    font.family: Theme.roundedFamily
    font.pixelSize: 12
    font.weight: Font.Black
    font.letterSpacing: 1.2
    font.hintingPreference: Font.PreferFullHinting
    textFormat: Text.PlainText
}
