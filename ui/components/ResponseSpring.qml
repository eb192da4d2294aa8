import QtQuick
// The module's C++ types are not part of its implicit directory import.
import TarvukeGlimp.Components

// A spring given by its response (seconds for one undamped swing) and damping fraction,
// as the animations of the game are designed; SpringMotion does the conversion.
SpringAnimation {
    id: root

    property real response: 0.5
    property real dampingFraction: 0.825

    readonly property var parameters: SpringMotion.parameters(response, dampingFraction)

    spring: parameters.spring
    damping: parameters.damping
    mass: 1
    epsilon: 0.001
}
