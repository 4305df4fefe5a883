.pragma library

// Small helpers of the pages, imported as Fn.

// The name of a key that a hot key may use, or "" for any other key.
function getKeyText(key) {
    if (key >= Qt.Key_F1 && key <= Qt.Key_F12)
        return "F" + (key - Qt.Key_F1 + 1)
    if ((key >= Qt.Key_0 && key <= Qt.Key_9) || (key >= Qt.Key_A && key <= Qt.Key_Z))
        return String.fromCharCode(key)
    if (key === Qt.Key_Print)
        return "Print"
    if (key === Qt.Key_Enter || key === Qt.Key_Return)
        return "Enter"
    return ""
}

// "Shift + Ctrl + A": the modifiers held, in this order, and the key; "" without a modifier
// or for a key without a name.
function getHootKey(event) {
    var names = []
    if (event.modifiers & Qt.ShiftModifier)
        names.push("Shift")
    if (event.modifiers & Qt.ControlModifier)
        names.push("Ctrl")
    if (event.modifiers & Qt.AltModifier)
        names.push("Alt")
    var key = getKeyText(event.key)
    if (names.length === 0 || key === "")
        return ""
    return names.join(" + ") + " + " + key
}

function sizeIn(size, unit) {
    if (size >= unit * unit * unit)
        return (size / (unit * unit * unit)).toFixed(2) + " " + qsTr("GB")
    if (size >= unit * unit)
        return (size / (unit * unit)).toFixed(1) + " " + qsTr("MB")
    return (size / unit).toFixed(size < 10 * unit ? 1 : 0) + " " + qsTr("KB")
}

// A byte count for people: KB below a megabyte, MB below a gigabyte, then GB (of 1024).
function sizeToString(size) {
    return sizeIn(size, 1024)
}

// The same in the decimal units (of 1000) in which Dropbox states its space.
function sizeToStringDropbox(size) {
    return sizeIn(size, 1000)
}
