import QtQuick
// The module's C++ types are not part of its implicit directory import.
import TarvukeGlimp.Components

// One of the game's icons by its symbol name ("arrow.left", "crown.fill", …), drawn as a
// glyph of the icon font at the given size, in ink unless the caller colours it.
Text {
    id: root

    property string name
    property real size: Theme.bodySize

    text: IconCatalog.text(name)
    color: Theme.ink
    font.family: IconCatalog.family(name)
    font.pixelSize: size
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    textFormat: Text.PlainText

    onNameChanged: {
        if (name !== "" && text === "")
            console.warn("Icon: no glyph for", JSON.stringify(name))
    }
}
