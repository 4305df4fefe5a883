import QtQuick 2.12

// A thin scroll bar for a Flickable; its handle can be dragged. It shows only when the
// content does not fit.
Item {
    id: bar

    property Flickable flickable

    width: 8
    visible: flickable !== null && flickable.contentHeight > flickable.height

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: "#e4e6e9"
    }
    Rectangle {
        id: handle
        width: parent.width
        radius: width / 2
        color: drag.pressed ? "#7d868c" : "#a9afb4"
        height: bar.flickable ? Math.max(20, bar.height * bar.flickable.visibleArea.heightRatio) : 0
        y: bar.flickable ? Math.min(bar.height - height,
                                    bar.height * bar.flickable.visibleArea.yPosition) : 0

        MouseArea {
            id: drag
            anchors.fill: parent
            property real startY: 0
            property real startContentY: 0
            onPressed: {
                startY = mapToItem(bar, mouse.x, mouse.y).y
                startContentY = bar.flickable.contentY
            }
            onPositionChanged: {
                var f = bar.flickable
                var moved = mapToItem(bar, mouse.x, mouse.y).y - startY
                var range = f.contentHeight - f.height
                var scale = range / Math.max(1, bar.height - handle.height)
                f.contentY = Math.max(0, Math.min(range, startContentY + moved * scale))
            }
        }
    }
}
