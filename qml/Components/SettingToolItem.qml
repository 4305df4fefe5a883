import QtQuick 2.12
import KuvoComponent 1.0

// One tool of the settings window's column: its picture above its caption. The chosen tool
// and the one under the pointer stand out by a light band behind them.
Item {
    id: tool

    property int iconWidth: 32
    property int iconHeight: 32
    property string iconSource: ""
    property bool check: false
    property string text: ""

    signal click()

    implicitWidth: 110
    implicitHeight: iconHeight + caption.implicitHeight + 28

    Rectangle {
        anchors.fill: parent
        visible: tool.check || mouse.containsMouse
        opacity: tool.check ? 1.0 : 0.6
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#0effffff" }
            GradientStop { position: 0.5; color: "#7effffff" }
            GradientStop { position: 1.0; color: "#a5ffffff" }
        }
    }
    Column {
        anchors.centerIn: parent
        spacing: 6
        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: tool.iconWidth
            height: tool.iconHeight
            source: tool.iconSource
        }
        Text {
            id: caption
            anchors.horizontalCenter: parent.horizontalCenter
            text: tool.text
            color: "#45494b"
            style: Text.Raised
            styleColor: "#ffffff"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
            font.bold: tool.check
        }
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: tool.click()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
