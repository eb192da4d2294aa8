import QtQuick
import QtQuick.Templates as T

// One pill of a ChoiceRow: lavender with a 2-pt outline when selected, paper with a 1-pt
// outline otherwise.
T.AbstractButton {
    id: root

    property bool selected: false

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
    Accessible.role: Accessible.RadioButton
    Accessible.name: text
    Accessible.checkable: true
    Accessible.checked: selected

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
