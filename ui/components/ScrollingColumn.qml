import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts

// A screen's column: as tall as the screen while its content fits, so its flexible gaps
// share what is left, and scrolling once it does not (a small phone, one turned sideways,
// or the part of one the keyboard leaves), so nothing is cut off or out of reach. On a wide
// window the column keeps to the theme's width in the middle; the flickable stays as wide
// as the window, so a drag anywhere scrolls it.
Flickable {
    id: root

    default property alias content: column.data
    property alias spacing: column.spacing
    property real sidePadding: 0
    property real topPadding: 0
    property real bottomPadding: 0

    contentWidth: width
    contentHeight: Math.max(height, column.implicitHeight + topPadding + bottomPadding)
    interactive: contentHeight > height + 0.5
    boundsBehavior: Flickable.StopAtBounds
    Basic.ScrollIndicator.vertical: Basic.ScrollIndicator { }

    ColumnLayout {
        id: column

        readonly property real inset: Theme.columnInset(root.width) + root.sidePadding

        x: inset
        y: root.topPadding
        width: root.width - 2 * inset
        height: root.contentHeight - root.topPadding - root.bottomPadding
    }
}
