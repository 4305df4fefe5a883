// One monitor's window of a capture over several monitors: the frozen monitor, the selection
// item that mirrors the selection made in any of the windows, its size and the loupe, which
// shows only on the monitor under the pointer.
import QtQuick 2.12
import KuvoComponent 1.0

Item {
    id: root
    focus: true

    property bool press: selector.isPress

    PictureItem {
        id: screen
        objectName: "screen"
        anchors.fill: parent
        smooth: true
        picture: window.background
        shade: selector.shadeColor
        brightRect: selector.brightRect
    }

    SurfaceSelector {
        id: selector
        objectName: "SurfaceSelector"
        anchors.fill: parent
        shaded: false
        screenIndex: window.indexScreen
        onGxChanged: {
            window.changeSelectorPos(gx, gy)
            magnifier.update()
        }
        onGyChanged: {
            window.changeSelectorPos(gx, gy)
            magnifier.update()
        }
        onGRectChanged: window.changeSelectorRect(gRect)
        onSelectComplete: window.selectComplete()

        SelectionMagnifier {
            id: magnifier
            visible: settings.showMagnifier && selector.isShowMagnified && (selector.isPress || selector.firstDraw)
            area: selector
            picture: window.background
        }
    }

    SelectionSize {
        area: selector
        selectedWidth: Math.abs(selector.gRubberRectRight - selector.gRubberRectLeft)
        selectedHeight: Math.abs(selector.gRubberRectBottom - selector.gRubberRectTop)
    }

    Component.onCompleted: root.forceActiveFocus()
}
