import QtQuick
import TarvukeGlimp.Components

// One screen inside the router, with its fade. A layer that has left removes itself once
// its fade has settled.
Item {
    id: root

    required property string screenName
    required property url source
    required property GameStore game

    property bool leaving: false
    readonly property Item view: loader.item

    function enter() {
        opacity = 0
        fade.enabled = true
        opacity = 1
    }

    function leave() {
        leaving = true
        // The store has already moved on: the leaving screen keeps what it showed, and
        // hears from the copy it now shows that the screen has changed.
        if (view) {
            const frozen = game.frozenCopy(root)
            view.game = frozen
            frozen.screenChanged()
        }
        // Nothing left to fade: gone at once.
        if (opacity === 0 && !spring.running) {
            destroy()
            return
        }
        fade.enabled = true
        opacity = 0
    }

    enabled: !leaving

    Behavior on opacity {
        id: fade

        enabled: false

        ResponseSpring {
            id: spring

            response: 0.42
            dampingFraction: 0.82
            // A change of target stops and restarts the spring: only a spring that has
            // settled at nothing is the end of a leaving screen.
            onRunningChanged: {
                if (!running && root.leaving && root.opacity === 0)
                    root.destroy()
            }
        }
    }

    Loader {
        id: loader

        anchors.fill: parent
        Component.onCompleted: {
            if (root.source.toString() !== "")
                setSource(root.source, { game: root.game })
        }
    }
}
