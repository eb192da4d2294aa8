import QtQuick
import QtQuick.Shapes

// A five-pointed star with one point straight up, fitted to the smaller side of its box and
// centred in it. Outlined or filled as the caller colours it.
Shape {
    id: root

    property color fillColor: "transparent"
    property color strokeColor: "transparent"
    property real lineWidth: 0

    // Ten vertices clockwise from the top: outer radius R = half the smaller side, inner
    // radius 0.42 R.
    readonly property var vertices: {
        const outer = Math.min(width, height) / 2
        const inner = 0.42 * outer
        const points = []
        for (let k = 0; k < 10; ++k) {
            const angle = (-90 + 36 * k) * Math.PI / 180
            const radius = k % 2 === 0 ? outer : inner
            points.push(Qt.point(width / 2 + radius * Math.cos(angle),
                                 height / 2 + radius * Math.sin(angle)))
        }
        return points
    }

    antialiasing: true

    ShapePath {
        fillColor: root.fillColor
        strokeColor: root.lineWidth > 0 ? root.strokeColor : "transparent"
        strokeWidth: root.lineWidth
        joinStyle: ShapePath.MiterJoin

        PathPolyline {
            path: root.vertices.concat([root.vertices[0]])
        }
    }
}
