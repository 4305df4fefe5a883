import QtQuick 2.12
import KuvoComponent 1.0

// An input field that hands its keys to the page (for hot keys): Tab says tabPress(), every
// other key keyPress(event) and keyRelease(event).
Rectangle {
    id: line

    property alias readOnly: edit.readOnly
    property alias echoMode: edit.echoMode
    property alias inputMask: edit.inputMask
    property alias text: edit.text
    property alias edit: edit

    signal keyPress(var event)
    signal keyRelease(var event)
    signal tabPress()

    implicitWidth: 200
    implicitHeight: 30
    radius: 3
    color: "#ffffff"
    border.color: edit.activeFocus ? "#2b8fc4" : "#cfd0d7"

    TextInput {
        id: edit
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        selectByMouse: !readOnly
        color: "#2a2a2c"
        selectionColor: "#2b8fc4"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14

        Keys.onPressed: {
            if (event.key === Qt.Key_Tab) {
                event.accepted = true
                line.tabPress()
                return
            }
            line.keyPress(event)
        }
        Keys.onReleased: line.keyRelease(event)
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: edit.readOnly ? Qt.ArrowCursor : Qt.IBeamCursor
    }
}
