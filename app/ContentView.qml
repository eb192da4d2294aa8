import QtQuick
import TarvukeGlimp.Components

// The root view: the paper, and over it the one screen the store names. A change of screen
// cross-fades the old screen out and a newly made one in on the same spring; a screen is
// always built afresh, so whatever it held on screen starts over.
Item {
    id: root

    required property GameStore game
    // Where the view of a screen comes from; an empty URL shows only the paper.
    property var viewSource: screenName => ScreenViews.urlFor(screenName)

    // The layer being shown (the last one made); older layers are fading out.
    property ScreenLayer current: null

    function show(screenName) {
        if (current && current.screenName === screenName)
            return
        if (current)
            current.leave()
        current = layerComponent.createObject(screens, {
            screenName: screenName,
            source: root.viewSource(screenName),
            game: root.game
        })
        current.enter()
    }

    PaperBackground {
        anchors.fill: parent
    }

    Item {
        id: screens

        anchors.fill: parent
    }

    Component {
        id: layerComponent

        ScreenLayer {
            anchors.fill: parent
        }
    }

    Connections {
        target: root.game

        function onScreenChanged() {
            root.show(root.game.screenName)
        }
    }

    Component.onCompleted: {
        current = layerComponent.createObject(screens, {
            screenName: game.screenName,
            source: viewSource(game.screenName),
            game: game
        })
    }
}
