import QtQuick 2.12
import KuvoComponent 1.0

// The check box of the capture view's closing question; a click turns it over, then says
// click().
Item {
    id: box

    property bool checked: false
    property string text: ""

    signal click()

    width: mark.width + 6 + label.implicitWidth
    height: Math.max(mark.height, label.implicitHeight)

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        source: box.checked ? "qrc:/component/image/component/close_window_checkbox_check.png"
                            : "qrc:/component/image/component/close_window_checkbox_uncheck.png"
    }
    Text {
        id: label
        anchors.left: mark.right
        anchors.leftMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        font.family: "Arial"
        color: "#a0a0a0"
        text: box.text
    }
    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.ArrowCursor
        onClicked: {
            box.checked = !box.checked
            box.click()
        }
    }
}
