import QtQuick
import QtQuick.Controls.Basic as Basic
import QtQuick.Layouts

// A screen's column: as tall as the screen while its content fits, so its flexible gaps
// share what is left, and scrolling once it does not (a small phone, one turned sideways,
// or the part of one the keyboard leaves), so nothing is cut off or out of reach.
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

        x: root.sidePadding
        y: root.topPadding
        width: root.width - 2 * root.sidePadding
        height: root.contentHeight - root.topPadding - root.bottomPadding
    }
}
