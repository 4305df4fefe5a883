import QtQuick 2.12

// A thin scroll bar for a Flickable, vertical unless told otherwise; its handle can be
// dragged. It shows only when the content does not fit.
Item {
    id: bar

    property Flickable flickable
    property int orientation: Qt.Vertical

    readonly property bool vertical: orientation === Qt.Vertical
    readonly property real length: vertical ? height : width
    readonly property real range: !flickable ? 0
        : vertical ? flickable.contentHeight - flickable.height
        : flickable.contentWidth - flickable.width

    width: 8
    height: 8
    visible: flickable !== null && range > 0

    Rectangle {
        anchors.fill: parent
        radius: Math.min(width, height) / 2
        color: "#e4e6e9"
    }
    Rectangle {
        id: handle
        readonly property real size: !bar.flickable ? 0 : Math.max(20, bar.length
            * (bar.vertical ? bar.flickable.visibleArea.heightRatio
                            : bar.flickable.visibleArea.widthRatio))
        readonly property real offset: !bar.flickable ? 0 : Math.min(bar.length - size, bar.length
            * (bar.vertical ? bar.flickable.visibleArea.yPosition
                            : bar.flickable.visibleArea.xPosition))
        width: bar.vertical ? parent.width : size
        height: bar.vertical ? size : parent.height
        x: bar.vertical ? 0 : offset
        y: bar.vertical ? offset : 0
        radius: Math.min(width, height) / 2
        color: drag.pressed ? "#7d868c" : "#a9afb4"

        MouseArea {
            id: drag
            anchors.fill: parent
            property real startPos: 0
            property real startContent: 0
            function along(mouse) {
                var p = mapToItem(bar, mouse.x, mouse.y)
                return bar.vertical ? p.y : p.x
            }
            onPressed: {
                startPos = along(mouse)
                startContent = bar.vertical ? bar.flickable.contentY : bar.flickable.contentX
            }
            onPositionChanged: {
                var scale = bar.range / Math.max(1, bar.length - handle.size)
                var next = Math.max(0, Math.min(bar.range,
                                                startContent + (along(mouse) - startPos) * scale))
                if (bar.vertical)
                    bar.flickable.contentY = next
                else
                    bar.flickable.contentX = next
            }
        }
    }
}
