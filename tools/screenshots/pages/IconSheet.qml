import QtQuick
import QtQuick.Layouts
import TarvukeGlimp.Components

// Every icon name beside its glyph, large enough to judge.
Window {
    id: root

    required property GameStore game

    width: 390
    height: 844
    visible: true
    color: Theme.paper

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 14

        Repeater {
            model: IconCatalog.names()

            RowLayout {
                required property string modelData

                spacing: 16

                Icon {
                    Layout.preferredWidth: 48
                    name: modelData
                    size: 36
                }

                Text {
                    text: modelData
                    color: Theme.ink
                    font: Theme.rounded(16, Font.Bold)
                }
            }
        }

        Item {
            Layout.fillHeight: true
        }
    }
}
