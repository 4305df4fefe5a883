import QtQuick 2.12

// The heading of a group of options.
Text {
    color: "#2d2d33"
    font.family: "Georgia"
    font.italic: true
    font.pixelSize: 16
}
