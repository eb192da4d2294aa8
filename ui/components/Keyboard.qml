pragma Singleton
import QtQuick

// Where the on-screen keyboard covers the window. Plasma Mobile's keyboard reports its
// rectangle through the input method; Phosh's shrinks the window instead, which layouts
// follow by themselves. A real keyboard cannot run headless, so tests set `rectangle`.
QtObject {
    // In window coordinates; empty while no keyboard covers anything.
    property rect rectangle: Qt.inputMethod.visible ? Qt.inputMethod.keyboardRectangle
                                                    : Qt.rect(0, 0, 0, 0)

    // How much of item's bottom the keyboard covers, in item's own units.
    function coverOf(item) {
        if (!item || rectangle.height <= 0 || rectangle.width <= 0)
            return 0
        const top = item.mapFromItem(null, 0, rectangle.y).y
        return Math.max(0, Math.min(item.height, item.height - top))
    }
}
