import QtQuick
// The module's C++ types are not part of its implicit directory import.
import TarvukeGlimp.Components
import QtQuick.Layouts

// Chips for the items in order, wrapping onto more lines as needed; the one equal to
// `selection` is marked. It changes nothing itself: a tap only reports the item.
FlowLayout {
    id: root

    property var items: []
    property var selection
    // The chip's text for an item.
    property var title: item => String(item)

    signal select(var item)

    Layout.fillWidth: true
    spacing: 8

    Repeater {
        model: root.items

        ChoiceChip {
            required property var modelData

            text: root.title(modelData)
            selected: modelData === root.selection
            onClicked: root.select(modelData)
        }
    }
}
