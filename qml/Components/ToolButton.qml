import QtQuick 2.12
import KuvoComponent 1.0

// One drawing tool of the bar: its icon in three states, and after a rest of the pointer on it a
// tool tip naming the tool with its modifier keys.
Item {
    id: button

    property string name: ""
    property string icon: ""
    property bool checked: false
    property string title: ""
    property string subText: ""

    signal triggered(string name, bool check)
    // The page shows the tip, over the bar and its panels: x and y are the pointer's here.
    signal showToolTip(real x, real y)
    signal hideToolTip()

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
        onClicked: {
            tipTimer.stop()
            button.hideToolTip()
            button.triggered(button.name, !button.checked)
        }
        onContainsMouseChanged: if (!containsMouse) button.hideToolTip()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
    Timer {
        id: tipTimer
        interval: 700
        running: mouse.containsMouse
        onTriggered: button.showToolTip(mouse.mouseX, mouse.mouseY)
    }
}
