import QtQuick
import QtQuick.Shapes

// The soft shadow under a round face: a disc of the given colour whose edge fades out over
// the blur radius. Drawn as a radial gradient, which the software renderer can paint too.
Shape {
    id: root

    // Diameter of the face that casts it.
    property real diameter: 100
    property real blur: 8
    property color color: "black"

    readonly property real outer: diameter / 2 + blur

    width: 2 * outer
    height: 2 * outer
    antialiasing: true

    ShapePath {
        strokeColor: "transparent"
        fillGradient: RadialGradient {
            centerX: root.outer
            centerY: root.outer
            centerRadius: root.outer
            focalX: root.outer
            focalY: root.outer

            GradientStop {
                position: 0
                color: root.color
            }
            GradientStop {
                position: Math.max(0, (root.diameter / 2 - root.blur) / root.outer)
                color: root.color
            }
            GradientStop {
                position: (root.diameter / 2) / root.outer
                color: Qt.rgba(root.color.r, root.color.g, root.color.b, root.color.a / 2)
            }
            GradientStop {
                position: 1
                color: "transparent"
            }
        }

        PathAngleArc {
            centerX: root.outer
            centerY: root.outer
            radiusX: root.outer
            radiusY: root.outer
            startAngle: 0
            sweepAngle: 360
        }
    }
}
