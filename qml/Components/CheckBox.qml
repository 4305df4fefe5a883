import QtQuick 2.12
import KuvoComponent 1.0

// A check box with its text; a click turns it over, then says click().
Item {
    id: box

    property bool check: false
    property string textCheck: ""

    signal click()

    implicitWidth: label.x + label.implicitWidth
    implicitHeight: Math.max(16, label.height)

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        source: box.check
            ? (mouse.containsMouse ? "qrc:/component/image/component/checkbox_select_enter.png"
                                   : "qrc:/component/image/component/checkbox_select_over.png")
            : (mouse.containsMouse ? "qrc:/component/image/component/checkbox_unselect_enter.png"
                                   : "qrc:/component/image/component/checkbox_unselect_over.png")
    }
    Text {
        id: label
        x: mark.width + 8
        width: Math.min(implicitWidth, Math.max(0, box.width - x))
        anchors.verticalCenter: parent.verticalCenter
        text: box.textCheck
        wrapMode: Text.WordWrap
        color: settings.getValue("mainFontColor")
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 13
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            box.check = !box.check
            box.click()
        }
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
