import QtQuick
import QtQuick.Templates as T

// One pill of a ChoiceRow: lavender with a 2-pt outline when selected, paper with a 1-pt
// outline otherwise. A radio button to a screen reader, checked when selected; the row's
// store decides what is selected, never the chip itself.
T.RadioButton {
    id: root

    property bool selected: false

    checked: selected
    autoExclusive: false

    leftPadding: 13
    rightPadding: 13
    topPadding: 9
    bottomPadding: 9
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    opacity: pressed ? Theme.pressedOpacity : 1
    Behavior on opacity { NumberAnimation { duration: 120 } }

    // A tap leaves the focus (and the keyboard) where it was.
    focusPolicy: Qt.TabFocus
    // A screen reader's "activate" is a tap, which the row reports; the chip never
    // checks itself.
    Accessible.onPressAction: clicked()
    Accessible.onToggleAction: clicked()

    contentItem: Text {
        text: root.text
        color: Theme.ink
        font: Theme.rounded(14, Font.Black)
        textFormat: Text.PlainText
    }

    background: Item {
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            antialiasing: true
            color: root.selected ? Theme.lavender : Theme.paper
        }

        // Centred on the edge, like every outline.
        Rectangle {
            readonly property real lineWidth: root.selected ? 2 : 1
            anchors.fill: parent
            anchors.margins: -lineWidth / 2
            radius: height / 2
            antialiasing: true
            color: "transparent"
            border.width: lineWidth
            border.color: Theme.ink
        }
    }
}
