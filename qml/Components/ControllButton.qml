import QtQuick 2.12
import KuvoComponent 1.0

// A window control of the title strip: "close" or "turn" (minimise).
Item {
    id: control

    property string type: "close"

    signal click()

    width: 16
    height: 16

    Image {
        anchors.fill: parent
        source: control.type === "turn"
            ? (mouse.containsMouse ? "qrc:/component/image/component/turn_enter.png"
                                   : "qrc:/component/image/component/turn.png")
            : (mouse.containsMouse ? "qrc:/component/image/component/close_enter.png"
                                   : "qrc:/component/image/component/close.png")
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        anchors.margins: -4
        hoverEnabled: true
        onClicked: control.click()
    }
    CursorShapeArea {
        anchors.fill: mouse
        cursorShape: Qt.PointingHandCursor
    }
}
