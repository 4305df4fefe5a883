import QtQuick 2.12
import KuvoComponent 1.0

// A big picture button with its title under the picture; its tool tip shows after the pointer
// has rested on it for a moment, kept inside the window.
Item {
    id: tool

    property string title: ""
    property string image: ""
    property string toolText: ""
    property string toolTip: ""

    signal click()

    width: 84
    height: toolText === "" ? 72 : 86
    // Above its neighbours while the tip is open, so that they do not cover it.
    z: tip.visible ? 10 : 0
    opacity: enabled ? 1.0 : 0.4

    Rectangle {
        anchors.fill: parent
        radius: 4
        visible: mouse.containsMouse
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#00caccd3" }
            GradientStop { position: 0.5; color: "#70caccd3" }
            GradientStop { position: 1.0; color: "#ffcaccd3" }
        }
    }
    Column {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: 8
        anchors.horizontalCenterOffset: mouse.pressed ? 1 : 0
        spacing: 4
        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            source: tool.image
        }
        Text {
            width: tool.width - 8
            horizontalAlignment: Text.AlignHCenter
            text: tool.title
            elide: Text.ElideRight
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        Text {
            width: tool.width - 8
            horizontalAlignment: Text.AlignHCenter
            visible: tool.toolText !== ""
            text: tool.toolText
            elide: Text.ElideRight
            color: "#6b7378"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 11
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            tipTimer.stop()
            tip.visible = false
            tool.click()
        }
        onContainsMouseChanged: {
            if (containsMouse && tool.toolTip !== "") {
                tipTimer.restart()
            } else {
                tipTimer.stop()
                tip.visible = false
            }
        }
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
    Timer {
        id: tipTimer
        interval: 700
        onTriggered: tip.open()
    }

    Rectangle {
        id: tip
        visible: false
        width: Math.min(tipText.implicitWidth + 16, 260)
        height: tipText.height + 10
        radius: 3
        color: "#fdfdfd"
        border.color: "#b0b1b1"

        // Under the button, or over it when the window ends below; never past a side.
        function open() {
            var scene = tool.mapToItem(null, 0, 0)
            var left = (tool.width - width) / 2
            x = Math.max(14 - scene.x, Math.min(left, window.width - 14 - scene.x - width))
            var below = tool.height + 2
            y = scene.y + below + height > window.height - 14 ? -height - 2 : below
            visible = true
        }

        Text {
            id: tipText
            x: 8
            y: 5
            width: Math.min(implicitWidth, 244)
            text: tool.toolTip
            wrapMode: Text.WordWrap
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 12
        }
    }
}
