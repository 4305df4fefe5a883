import QtQuick 2.12
import "../Components"

// A radio button of the picture quality that explains itself when the pointer rests on it.
Item {
    id: quality

    property alias check: radio.check
    property alias textCheck: radio.textCheck
    property string toolTip: ""

    signal click()

    implicitWidth: radio.implicitWidth
    implicitHeight: radio.implicitHeight

    RadioButton {
        id: radio
        anchors.fill: parent
    }
    // Over the button, since the button keeps its hover to itself: the tip needs to know.
    MouseArea {
        id: hover
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onContainsMouseChanged: {
            tipShown.visible = false
            if (containsMouse)
                tipTimer.restart()
            else
                tipTimer.stop()
        }
        onClicked: {
            radio.check = true
            quality.click()
        }
    }
    Timer {
        id: tipTimer
        interval: 600
        onTriggered: tipShown.visible = true
    }
    Rectangle {
        id: tipShown
        objectName: "toolTip"
        x: 0
        y: quality.height + 4
        z: 10
        width: tip.implicitWidth + 16
        height: tip.implicitHeight + 10
        visible: false
        radius: 3
        color: "#fdfdf0"
        border.color: "#b0b1b1"
        Text {
            id: tip
            anchors.centerIn: parent
            text: quality.toolTip
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 12
        }
    }
}
