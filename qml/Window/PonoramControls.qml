import QtQuick 2.12
import KuvoComponent 1.0

// The scrolling capture in the capture view: the button that starts it beside the tool bar,
// and while it runs the buttons that finish or drop it, the hint, the growing size and the
// thumbnail of the newest rows. Everything stays outside the selection, which the window
// leaves to the live document while the capture runs.
Item {
    id: controls

    // The page's selection item, the place of its tool bar, the screen the bar stands on and
    // the page's tool tip (without one the buttons show no tips).
    property var selector
    property int barX: 0
    property int barY: 0
    property int barWidth: 0
    property rect area: Qt.rect(0, 0, width, height)
    property var toolTip: null

    readonly property bool working: surface.ponoram.isPonoramWork
    readonly property int gap: 6
    readonly property bool roomRight: selector.rubberRectRight + gap + column.width <= width

    function showTip(item, text, x, y) {
        if (!toolTip)
            return
        var at = item.mapToItem(toolTip.parent, x, y)
        toolTip.show(text, "", at.x, at.y)
    }

    function hideTip() {
        if (toolTip)
            toolTip.hide()
    }

    // Before the bar where the screen has room, else after it: never over its drag handle.
    Row {
        id: buttons
        objectName: "ponoramButtons"

        readonly property int beforeBar: controls.barX - width - controls.gap
        readonly property int afterBar: controls.barX + controls.barWidth + controls.gap

        spacing: 4
        visible: !surface.ponoram.ponoramDone && (controls.working || selector.showToolBar)
        x: beforeBar >= controls.area.x || afterBar + width > controls.area.x + controls.area.width
           ? Math.max(controls.area.x, beforeBar) : afterBar
        y: controls.barY

        Repeater {
            model: controls.working
                   ? [ { "name": "ponoramStop", "icon": "stop", "tip": qsTr("Finish the scrolling capture") },
                       { "name": "ponoramCancel", "icon": "cancel", "tip": qsTr("Cancel the scrolling capture") } ]
                   : [ { "name": "ponoramStart", "icon": "play", "tip": qsTr("Scrolling capture") } ]
            Image {
                objectName: modelData.name
                source: "qrc:/icon/image/icon/ponoram_" + modelData.icon + ".png"
                opacity: area.containsMouse ? 1.0 : 0.85

                MouseArea {
                    id: area
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onContainsMouseChanged: containsMouse
                        ? controls.showTip(area, modelData.tip, mouseX, mouseY) : controls.hideTip()
                    // The button goes with the click; its tip must not stay behind.
                    onClicked: {
                        controls.hideTip()
                        if (modelData.name === "ponoramStart")
                            surface.startPonoram()
                        else if (modelData.name === "ponoramStop")
                            surface.stopPonoram()
                        else
                            surface.cancelPonoram()
                    }
                }
            }
        }
    }

    Column {
        id: column
        spacing: controls.gap
        visible: controls.working
        x: controls.roomRight ? selector.rubberRectRight + controls.gap
                              : Math.max(0, selector.rubberRectLeft - width - controls.gap)
        y: Math.max(0, Math.min(selector.rubberRectTop, controls.height - height))

        Image {
            id: scroll_dialog_background
            objectName: "scroll_dialog_background"
            source: "qrc:/image/image/image/scroll_dialog_background.png"

            Text {
                anchors.fill: parent
                anchors.margins: 8
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WordWrap
                font.family: "Georgia"
                font.italic: true
                font.pixelSize: 13
                color: "white"
                text: qsTr("Press \"Play\" and use wheel or application scroll and drop his down")
            }
        }

        Rectangle {
            id: ponoramSizeBackground
            objectName: "ponoramSizeBackground"
            width: sizeRow.width + 16
            height: sizeRow.height + 8
            radius: 4
            color: "#b0000000"

            Row {
                id: sizeRow
                anchors.centerIn: parent
                spacing: 6
                Text {
                    id: ponoramSize
                    objectName: "ponoramSize"
                    font.family: "Arial"
                    font.pixelSize: 12
                    color: surface.ponoram.isPonoramError ? "#ff5050" : "white"
                    text: surface.ponoram.ponoramSize.width + " \u00d7 " + surface.ponoram.ponoramSize.height
                }
                Image {
                    id: arrow
                    source: "qrc:/image/image/image/ponoram_arrow.png"
                    SequentialAnimation on y {
                        running: controls.working
                        loops: Animation.Infinite
                        NumberAnimation { id: toDown; objectName: "toDown"; from: 0; to: 3; duration: 400 }
                        NumberAnimation { id: toUp; objectName: "toUp"; from: 3; to: 0; duration: 400 }
                    }
                }
            }
        }

        PonoramPreview {
            objectName: "ponoramPreview"
        }
    }
}
