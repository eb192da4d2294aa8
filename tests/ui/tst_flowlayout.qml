import QtQuick
import QtTest
import TarvukeGlimp.Components

// FlowLayout with real items: their implicit sizes in, positions and its own height out.
TestCase {
    id: root

    name: "FlowLayout"
    when: windowShown
    visible: true
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
            width: 300
            spacing: 8
        }
    }

    function init() {
        failOnWarning(/.*/)
    }

    function makeFlow(sizes, width) {
        const flow = createTemporaryObject(flowComponent, root, { width: width })
        const items = sizes.map(s => box.createObject(flow, { w: s[0], h: s[1] }))
        return { flow: flow, items: items }
    }

    function positionsOf(items) {
        return items.map(i => [i.x, i.y])
    }

    function test_threeChipsInThreeHundred() {
        const f = makeFlow([[100, 36], [100, 36], [100, 36]], 300)
        compare(positionsOf(f.items), [[0, 0], [108, 0], [0, 44]])
        compare(f.items[1].x + f.items[1].width, 208)
        compare(f.flow.implicitHeight, 36 + 8 + 36)
        // Each child is given exactly its own ideal size.
        compare([f.items[2].width, f.items[2].height], [100, 36])
    }

    function test_strictRightEdge() {
        const fits = makeFlow([[100, 30], [92, 30]], 200)
        compare(positionsOf(fits.items), [[0, 0], [108, 0]])
        compare(fits.flow.implicitHeight, 30)
        const wraps = makeFlow([[100, 30], [93, 30]], 200)
        compare(positionsOf(wraps.items), [[0, 0], [0, 38]])
    }

    function test_overWideChild() {
        const f = makeFlow([[60, 30], [500, 30], [60, 30]], 300)
        compare(positionsOf(f.items), [[0, 0], [0, 38], [0, 76]])
        compare(f.items[1].width, 500)
    }

    function test_noChildren() {
        const f = makeFlow([], 300)
        compare(f.flow.implicitHeight, 0)
        compare(f.flow.width, 300)
    }

    function test_linesAreTopAligned() {
        const f = makeFlow([[100, 20], [100, 50], [100, 30], [100, 10]], 250)
        compare(positionsOf(f.items), [[0, 0], [108, 0], [0, 58], [108, 58]])
        compare(f.flow.implicitHeight, 50 + 8 + 30)
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

    // With no width of its own it is as wide as its one line.
    function test_unconstrainedIsOneLine() {
        const flow = createTemporaryObject(flowComponent, root)
        flow.width = undefined
        const items = [0, 1, 2, 3, 4].map(() => box.createObject(flow))
        compare(flow.implicitWidth, 5 * 100 + 4 * 8)
        compare(flow.width, flow.implicitWidth)
        compare(items[4].y, 0)
        compare(flow.implicitHeight, 36)
    }

    Component {
        id: repeated

        FlowLayout {
            width: 300
            spacing: 8

            Repeater {
                model: 3

                Item {
                    implicitWidth: 100
                    implicitHeight: 20
                }
            }
        }
    }

    // The Repeater among the children takes no place.
    function test_repeaterChildren() {
        const flow = createTemporaryObject(repeated, root)
        const placed = Array.from(flow.children).filter(c => c.implicitWidth === 100)
        compare(placed.length, 3)
        compare(placed.map(c => c.x).sort((a, b) => a - b), [0, 0, 108])
        compare(flow.implicitHeight, 48)
    }
}
