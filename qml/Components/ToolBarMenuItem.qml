import QtQuick 2.12
import KuvoComponent 1.0

// One output of the accept menu: icon, text and the key that does the same.
Item {
    id: item

    property string text: ""
    property string shortcut: ""
    property string icon: ""

    signal triggered()

    width: parent ? parent.width : 200
    height: 26

    Rectangle {
        anchors.fill: parent
        color: "#c8444647"
        visible: mouse.containsMouse
    }
    Image {
        anchors.left: parent.left
        anchors.leftMargin: 8
        anchors.verticalCenter: parent.verticalCenter
        source: item.icon
    }
    Text {
        anchors.left: parent.left
        anchors.leftMargin: 32
        anchors.verticalCenter: parent.verticalCenter
        text: item.text
        color: "#ccc9d1"
        font.family: "Arial"
        font.pixelSize: 12
    }
    Text {
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: item.shortcut
        color: "#858188"
        font.family: "Arial"
        font.pixelSize: 11
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: item.triggered()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
