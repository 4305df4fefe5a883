import QtQuick 2.12

// A soft shadow around the item it fills, drawn as rings that fade outwards; it needs no
// shader effect, so it looks the same with the software renderer.
Item {
    id: shadow

    property int depth: 10
    property int radius: 6

    Repeater {
        model: shadow.depth
        Rectangle {
            anchors.fill: parent
            anchors.margins: -(index + 1)
            anchors.topMargin: -(index + 1) + 2
            anchors.bottomMargin: -(index + 1) - 2
            radius: shadow.radius + index + 1
            color: "transparent"
            border.width: 1
            border.color: Qt.rgba(0, 0, 0, 0.09 * Math.pow(1 - index / shadow.depth, 2))
        }
    }
}
