// Finding things on a screen the way a person does: by what they read on it, or by the
// name a screen reader would announce. Not a library: it reads the attached Accessible
// property through the importing test's own QtQuick import.

// Every item under item (itself included) in paint order, Flickable contents too.
function allItems(item) {
    return item ? [item].concat(...Array.from(item.children, allItems)) : []
}

// The items showing exactly this text (texts, buttons, fields).
function withText(item, text) {
    return allItems(item).filter(node => node.text === text)
}

// The one visible item showing this text; null when there is none or more than one.
function textItem(item, text) {
    const matches = withText(item, text).filter(shown)
    return matches.length === 1 ? matches[0] : null
}

function byAccessibleName(item, name) {
    return allItems(item).filter(node => node.Accessible.name === name)
}

// The first shown button whose label (title, or any text inside it) reads text, or null.
function button(item, text) {
    return allItems(item).find(node => typeof node.clicked === "function" && shown(node)
                               && (node.title === text || node.text === text
                                   || withText(node, text).length > 0)) || null
}

// Visible all the way up, and not faded out.
function shown(node) {
    for (let n = node; n; n = n.parent) {
        if (!n.visible || n.opacity === 0)
            return false
    }
    return true
}
