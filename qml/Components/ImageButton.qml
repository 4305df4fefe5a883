import QtQuick 2.12
import KuvoComponent 1.0

// The common body of the picture buttons (LoginPushButton, PushButtonBlue, PushButtonDark):
// a border image per state and a white label.
Item {
    id: button

    property string name: ""
    property string normalSource: ""
    property string hoverSource: ""
    property string pressSource: ""
    property color styleColor: "transparent"
    property int fontSize: 13

    signal click()

    implicitWidth: Math.max(100, label.implicitWidth + 32)
    implicitHeight: 30
    opacity: enabled ? 1.0 : 0.5

    BorderImage {
        anchors.fill: parent
        border { left: 6; right: 6; top: 6; bottom: 6 }
        source: mouse.pressed ? button.pressSource
                              : (mouse.containsMouse ? button.hoverSource : button.normalSource)
    }
    Text {
        id: label
        anchors.centerIn: parent
        anchors.verticalCenterOffset: mouse.pressed ? 1 : 0
        text: button.name
        color: "#ffffff"
        style: Text.Raised
        styleColor: button.styleColor
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: button.fontSize
        font.bold: true
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.click()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
