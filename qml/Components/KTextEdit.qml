import QtQuick 2.12
import KuvoComponent 1.0

// A multi-line input with a scroll bar and a hint.
Rectangle {
    id: box

    property string label: qsTr("Your feedback") + core.emptyString
    property alias edit: edit
    property alias text: edit.text

    implicitWidth: 300
    implicitHeight: 120
    radius: 3
    color: "#ffffff"
    border.color: edit.activeFocus ? "#2b8fc4" : "#bab8b8"

    Flickable {
        id: flick
        anchors.fill: parent
        anchors.margins: 6
        anchors.rightMargin: 14
        contentWidth: width
        contentHeight: edit.paintedHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        function ensureVisible(r) {
            if (contentY >= r.y)
                contentY = r.y
            else if (contentY + height <= r.y + r.height)
                contentY = r.y + r.height - height
        }

        TextEdit {
            id: edit
            width: flick.width
            wrapMode: TextEdit.Wrap
            selectByMouse: true
            color: "#4d5057"
            selectionColor: "#2b8fc4"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 14
            onCursorRectangleChanged: flick.ensureVisible(cursorRectangle)
        }
        Text {
            width: flick.width
            text: box.label
            wrapMode: Text.WordWrap
            color: "#5c5c5e"
            font.italic: true
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 14
            opacity: edit.text.length > 0 ? 0.0 : 1.0
            Behavior on opacity { NumberAnimation { duration: 150 } }
        }
    }
    CursorShapeArea {
        anchors.fill: flick
        cursorShape: Qt.IBeamCursor
    }
    ScrollBar {
        anchors { right: parent.right; top: parent.top; bottom: parent.bottom; margins: 3 }
        flickable: flick
    }
}
