// The panorama window: the frozen first screen, the selection that starts the scrolling
// capture as soon as it is made, the capture's buttons, hint and thumbnail while it runs, and
// the finished panorama with its canvas and tool bar.
import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

Item {
    id: root
    focus: true

    PictureItem {
        id: screen
        objectName: "screen"
        anchors.fill: parent
        smooth: true
        picture: surface.background
    }

    SurfaceSelector {
        id: selector
        objectName: "SurfaceSelector"
        anchors.fill: parent
        enabled: !surface.ponoram.ponoramDone && !surface.ponoram.isPonoramWork
        onSelectComplete: surface.startPonoram()
    }

    PonoramControls {
        anchors.fill: parent
        selector: selector
        toolTip: surfaceToolTip
        area: surface.toolbarScreen(selector.rubberRectLeft, selector.rubberRectTop,
                                    Math.max(1, selector.rubberRect.width),
                                    Math.max(1, selector.rubberRect.height))
        barX: selector.rubberRectRight + 1
        barY: Math.min(selector.rubberRectBottom + 6, root.height - 40)
    }

    PonoramView {
        anchors.fill: parent
        area: Qt.rect(selector.rubberRectLeft, selector.rubberRectTop,
                      selector.rubberRect.width, selector.rubberRect.height)
    }

    // Over everything else, and kept on the screen under the pointer.
    ToolTip {
        id: surfaceToolTip
        objectName: "surfaceToolTip"
        areaAt: function(x, y) { return surface.toolbarScreen(x, y, 1, 1) }
    }

    Component.onCompleted: root.forceActiveFocus()
}
