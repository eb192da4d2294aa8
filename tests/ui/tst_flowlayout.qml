import QtQuick
import QtTest
import TarvukeGlimp.Components

// FlowLayout with real items: their implicit sizes in, positions and its own height out.
ScreenTestCase {
    id: root

    name: "FlowLayout"
    width: 400
    height: 400

    Component {
        id: box

        Item {
            property real w: 100
            property real h: 36
            implicitWidth: w
            implicitHeight: h
        }
    }

    Component {
        id: flowComponent

        FlowLayout {
            spacing: 8
        }
    }

    function makeFlow(sizes, width) {
        const flow = createTemporaryObject(flowComponent, root, { width: width })
        const items = sizes.map(s => box.createObject(flow, { w: s[0], h: s[1] }))
        return { flow: flow, items: items }
    }

    function positionsOf(items) {
        return items.map(i => [i.x, i.y])
    }

    function test_places_data() {
        return [
            { tag: "100/100/100 in 300", width: 300, sizes: [[100, 36], [100, 36], [100, 36]],
              at: [[0, 0], [108, 0], [0, 44]], height: 80 },
            { tag: "ending at the right edge stays", width: 200, sizes: [[100, 30], [92, 30]],
              at: [[0, 0], [108, 0]], height: 30 },
            { tag: "one point past it wraps", width: 200, sizes: [[100, 30], [93, 30]],
              at: [[0, 0], [0, 38]], height: 68 },
            { tag: "over-wide chip alone on its line", width: 300, sizes: [[60, 30], [500, 30], [60, 30]],
              at: [[0, 0], [0, 38], [0, 76]], height: 106 },
            { tag: "lines top-aligned, as tall as their tallest", width: 250,
              sizes: [[100, 20], [100, 50], [100, 30], [100, 10]],
              at: [[0, 0], [108, 0], [0, 58], [108, 58]], height: 88 },
            { tag: "no children", width: 300, sizes: [], at: [], height: 0 }
        ]
    }

    function test_places(data) {
        const f = makeFlow(data.sizes, data.width)
        compare(positionsOf(f.items), data.at)
        // Each child is given exactly its own ideal size.
        compare(f.items.map(i => [i.width, i.height]), data.sizes)
        compare(f.flow.implicitHeight, data.height)
    }

    // The layout follows changes of its width and of its children's sizes.
    function test_relayout() {
        const f = makeFlow([[100, 36], [100, 36], [100, 36]], 300)
        f.flow.width = 330
        compare(positionsOf(f.items), [[0, 0], [108, 0], [216, 0]])
        compare(f.flow.implicitHeight, 36)
        f.items[0].w = 140
        compare(positionsOf(f.items), [[0, 0], [148, 0], [0, 44]])
        f.items[2].destroy()
        wait(0)
        compare(f.flow.implicitHeight, 36)
    }
}
