import QtQuick 2.12
import KuvoComponent 1.0

// A text link; underlined while the pointer is over it, or always with textDecoration.
Text {
    id: link

    property string titleText: ""
    property bool textDecoration: false
    property int hAlign: Text.AlignLeft

    signal click()

    text: titleText
    horizontalAlignment: hAlign
    wrapMode: Text.WordWrap
    color: mouse.containsMouse ? "#009ed8" : "#0b77a2"
    font.underline: textDecoration || mouse.containsMouse
    font.family: settings.getValue("mainFontFamily")
    font.pixelSize: 13

    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: link.click()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
