import QtQuick 2.14
import KuvoComponent 1.0

// A one-line input with a hint that fades out once there is text. typeSom "integer" takes
// digits only; pasteByRightClick makes a right click paste the clipboard's text.
Rectangle {
    id: input

    property string label: ""
    property string typeSom: "text"
    property bool pasteByRightClick: false
    property alias echoMode: edit.echoMode
    property alias edit: edit
    property alias text: edit.text

    signal accepted()

    implicitWidth: 220
    implicitHeight: 32
    radius: 3
    color: "#ffffff"
    border.color: edit.activeFocus ? "#2b8fc4" : "#bab8b8"

    RegularExpressionValidator {
        id: digits
        regularExpression: /[0-9]*/
    }

    Text {
        anchors.fill: edit
        verticalAlignment: Text.AlignVCenter
        text: input.label
        elide: Text.ElideRight
        color: "#5c5c5e"
        font.italic: true
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14
        opacity: edit.text.length > 0 ? 0.0 : 1.0
        Behavior on opacity { NumberAnimation { duration: 150 } }
    }
    TextInput {
        id: edit
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        selectByMouse: true
        color: "#4d5057"
        selectionColor: "#2b8fc4"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14
        validator: input.typeSom === "integer" ? digits : null
        onAccepted: input.accepted()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.IBeamCursor
    }
    MouseArea {
        anchors.fill: parent
        enabled: input.pasteByRightClick
        acceptedButtons: Qt.RightButton
        onClicked: {
            edit.forceActiveFocus()
            edit.insert(edit.cursorPosition, core.clipboardText())
        }
    }
}
