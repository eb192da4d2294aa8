import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// The header of a screen: a round back button on the left (when there is somewhere to go
// back to), the title centred, and an empty slot of the same size on the right so that the
// title sits in the same place either way.
RowLayout {
    id: root

    property string title
    // A function called by the back button; null for a bar without one.
    property var back: null

    readonly property bool hasBack: typeof back === "function"
    readonly property int slotSize: 42

    Layout.fillWidth: true
    spacing: 8

    Item {
        Layout.preferredWidth: root.slotSize
        Layout.preferredHeight: root.slotSize

        T.AbstractButton {
            id: backButton

            anchors.fill: parent
            visible: root.hasBack
            enabled: root.hasBack
            opacity: pressed ? Theme.pressedOpacity : 1
            Accessible.name: "Назад"
            Accessible.onPressAction: if (enabled) clicked()
            onClicked: root.back()

            Behavior on opacity { NumberAnimation { duration: 120 } }

            background: Item {
                Rectangle {
                    anchors.fill: parent
                    radius: width / 2
                    antialiasing: true
                    color: "white"
                }

                // Inside the frame, so that it is whole on a bar at the screen's edge.
                Rectangle {
                    anchors.fill: parent
                    radius: width / 2
                    antialiasing: true
                    color: "transparent"
                    border.width: 2
                    border.color: Theme.ink
                }
            }

            contentItem: Icon {
                name: "arrow.left"
                size: Theme.title3Size
            }
        }
    }

    Item { Layout.fillWidth: true }

    Text {
        Layout.maximumWidth: Math.max(0, root.width - 2 * (root.slotSize + 2 * root.spacing))
        text: root.title
        color: Theme.ink
        font: Theme.rounded(16, Font.Black)
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        textFormat: Text.PlainText
    }

    Item { Layout.fillWidth: true }

    Item {
        Layout.preferredWidth: root.slotSize
        Layout.preferredHeight: root.slotSize
    }
}
