import QtQuick 2.12
import KuvoComponent 1.0

// A zoom step button of the picture editor, lit while the pointer is over it or presses it.
Item {
    id: button

    property string icon
    signal clicked()

    width: 24
    height: 24

    Image {
        anchors.fill: parent
        visible: area.containsMouse
        source: area.pressed ? "qrc:/icon/image/component/zoom_press_background.png"
                             : "qrc:/icon/image/component/zoom_hover_background.png"
    }
    Image {
        anchors.fill: parent
        source: button.icon
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.clicked()
    }
}
