import QtQuick 2.12
import KuvoComponent 1.0

// One drawing tool of the bar: its icon in three states and a tool tip naming the tool with its
// modifier keys.
Item {
    id: button

    property string name: ""
    property string icon: ""
    property bool checked: false
    property string title: ""
    property string subText: ""

    signal triggered(string name, bool check)

    width: 32
    height: 32

    Image {
        anchors.centerIn: parent
        source: button.icon === "" ? ""
                : "qrc:/component/image/component/" + button.icon
                  + (button.checked ? "_checked" : (mouse.containsMouse ? "_hover" : "")) + ".png"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.triggered(button.name, !button.checked)
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
    Rectangle {
        objectName: "toolTip"
        visible: mouse.containsMouse && tipTimer.shown
        anchors.top: parent.bottom
        anchors.topMargin: 6
        width: tip.implicitWidth + 16
        height: tip.implicitHeight + 10
        radius: 3
        color: "#2b2e30"
        border.color: "#141517"
        Text {
            id: tip
            anchors.centerIn: parent
            text: button.title + (button.subText === "" ? "" : "<br>" + button.subText)
            textFormat: Text.StyledText
            color: "#cfcece"
            font.family: "Arial"
            font.pixelSize: 12
        }
    }
    Timer {
        id: tipTimer
        property bool shown: false
        interval: 700
        running: mouse.containsMouse
        onRunningChanged: if (!running) shown = false
        onTriggered: shown = true
    }
}
