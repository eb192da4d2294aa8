import QtQuick
import QtQuick.Layouts

// A white card with a small heading over one control. As wide as its content; a content
// that fills its width (a row of chips) makes the block fill it too.
InkCard {
    id: root

    property string title
    default property alias content: column.data

    Layout.fillWidth: column.fillsWidth
    color: "white"

    contentItem: ColumnLayout {
        id: column

        readonly property bool fillsWidth: {
            for (let i = 0; i < children.length; ++i) {
                if (children[i].Layout.fillWidth)
                    return true
            }
            return false
        }

        spacing: 12

        SectionTitle {
            title: root.title
        }
    }
}
