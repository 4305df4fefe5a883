import QtQuick 2.12
import KuvoComponent 1.0

// A radio button with its text; a click chooses it, then says click().
Item {
    id: radio

    property bool check: false
    property string textCheck: ""

    signal click()

    implicitWidth: label.x + label.implicitWidth
    implicitHeight: Math.max(16, label.height)

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        source: radio.check
            ? (mouse.containsMouse ? "qrc:/component/image/component/radio_select_enter.png"
                                   : "qrc:/component/image/component/radio_select_over.png")
            : (mouse.containsMouse ? "qrc:/component/image/component/radio_unselect_enter.png"
                                   : "qrc:/component/image/component/radio_unselect_over.png")
    }
    Text {
        id: label
        x: mark.width + 8
        width: Math.min(implicitWidth, Math.max(0, radio.width - x))
        anchors.verticalCenter: parent.verticalCenter
        text: radio.textCheck
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
            radio.check = true
            radio.click()
        }
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
