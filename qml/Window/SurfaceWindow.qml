// The capture overlay: the frozen screens, the canvas over them, the selection with the loupe
// and its size label, a place for the tool bar and the panel that confirms cancelling.
import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

Item {
    id: root
    focus: true

    // Shaded by itself but for the selection: a moving selection then redraws only its own
    // area, never the whole screen.
    PictureItem {
        id: screen
        objectName: "screen"
        anchors.fill: parent
        smooth: true
        picture: surface.background
        shade: selector.shadeColor
        brightRect: selector.brightRect
    }

    // The shapes show only where the picture that goes out has them: inside the selection,
    // in the whole pixels that are cut out, or anywhere while there is none.
    Item {
        id: shownArea
        readonly property rect selection: selector.rubberRect
        readonly property bool selected: selection.width > 0 || selection.height > 0
        x: selected ? Math.floor(selection.x + 0.5) : 0
        y: selected ? Math.floor(selection.y + 0.5) : 0
        width: selected ? Math.floor(selection.x + selection.width + 0.5) - x : root.width
        height: selected ? Math.floor(selection.y + selection.height + 0.5) - y : root.height
        clip: true

        KPainterArea {
            id: paintArea
            objectName: "KPainterArea"
            x: -shownArea.x
            y: -shownArea.y
            width: root.width
            height: root.height
            selectRect: selector.rubberRect
            Component.onCompleted: surface.setPaintArea(paintArea)
        }
    }

    SurfaceSelector {
        id: selector
        objectName: "SurfaceSelector"
        anchors.fill: parent
        shaded: false
        // A panorama in the selection's place keeps the selection as it is.
        enabled: !surface.ponoram.ponoramDone
        // The property, a boolean: the stored value is a text, and "0" is true in JavaScript.
        isShowMagnified: settings.showMagnifier
        onGxChanged: magnifier.update()
        onGyChanged: magnifier.update()
        Component.onCompleted: {
            selector.checkProperties()
            surface.checkProperties()
        }

        // Below the selection item, where the view looks for it when it copies the colour.
        SelectionMagnifier {
            id: magnifier
            visible: selector.isShowMagnified && selector.firstDraw
            area: selector
            picture: surface.background
        }
    }

    SelectionSize {
        id: selectionSize
        area: selector
    }

    // The tool bar beside the selection once the selection is made: under it where the
    // screen has room, else over it, else inside its lower edge; never off the screen. Inside
    // the bar, paintArea is this page's canvas and surface the view. The bar is built with the
    // first selection, not before the first frame, and kept from then on.
    Loader {
        id: toolBar
        objectName: "toolBar"
        visible: selector.showToolBar && !surface.ponoram.isPonoramWork && !surface.ponoram.ponoramDone
        active: false
        source: "qrc:/qml/qml/Components/ToolBar.qml"
        onLoaded: {
            item.toolTip = surfaceToolTip
            item.area = Qt.binding(function() {
                return Qt.rect(area.x - x, area.y - y, area.width, area.height)
            })
        }

        readonly property int gap: 6
        readonly property rect area: surface.toolbarScreen(selector.rubberRectLeft,
                                                           selector.rubberRectTop,
                                                           Math.max(1, selector.rubberRect.width),
                                                           Math.max(1, selector.rubberRect.height))
        readonly property int below: selector.rubberRectBottom + gap
        readonly property int above: selector.rubberRectTop - height - gap

        x: Math.max(area.x, Math.min(selector.rubberRectRight - width, area.x + area.width - width))
        y: below + height <= area.y + area.height ? below
           : above >= area.y ? above
           : Math.max(area.y, selector.rubberRectBottom - height - gap)

        Connections {
            target: toolBar.item
            function onClickAccept() { surface.uploadScreen() }
        }

        Connections {
            target: selector
            function onShowToolBarChanged(show) {
                if (show)
                    toolBar.active = true
            }
        }
    }

    PonoramControls {
        anchors.fill: parent
        selector: selector
        toolTip: surfaceToolTip
        area: toolBar.area
        barX: toolBar.x
        barY: toolBar.y
        barWidth: toolBar.width
    }

    PonoramView {
        anchors.fill: parent
        sizeLabel: selectionSize
        area: Qt.rect(selector.rubberRectLeft, selector.rubberRectTop,
                      selector.rubberRect.width, selector.rubberRect.height)
    }

    Image {
        id: closeWindow
        objectName: "closeWindow"
        visible: surface.visibleCloseWindow
        focus: visible
        source: "qrc:/component/image/component/close_window_background.png"
        x: surface.primaryX + (surface.primaryWidth - width) / 2
        y: surface.primaryY + (surface.primaryHeight - height) / 2

        Text {
            anchors.top: parent.top
            anchors.topMargin: 18
            anchors.horizontalCenter: parent.horizontalCenter
            width: parent.width - 40
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            font.family: "Arial"
            font.pixelSize: 14
            color: "white"
            text: qsTr("Cancel screen capture? All changes whill be lost!")
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            y: 70
            spacing: 16
            DialogButton {
                objectName: "closeYes"
                text: qsTr("Yes")
                onClick: surface.close()
            }
            DialogButton {
                objectName: "closeNo"
                text: qsTr("No")
                onClick: surface.visibleCloseWindow = false
            }
        }

        CheckBowCloseWindow {
            objectName: "CheckBowCloseWindow"
            anchors.horizontalCenter: parent.horizontalCenter
            y: 116
            checked: !settings.showCloseSurfaceWindow
            text: qsTr("Do not show this window")
            onClick: settings.setValue("showCloseSurfaceWindow", !checked)
        }
    }

    // Over the tool bar and every panel, and kept on the screen under the pointer.
    ToolTip {
        id: surfaceToolTip
        objectName: "surfaceToolTip"
        areaAt: function(x, y) { return surface.toolbarScreen(x, y, 1, 1) }
    }
}
