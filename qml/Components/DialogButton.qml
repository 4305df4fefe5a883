import QtQuick 2.12
import KuvoComponent 1.0

// A dark rounded button of the capture view's dialogs; lighter while the pointer is on it.
Rectangle {
    id: button

    property string text: ""

    signal click()

    width: Math.max(90, label.implicitWidth + 24)
    height: 28
    radius: 4
    border.color: "#575655"
    gradient: Gradient {
        GradientStop { position: 0.0; color: mouse.containsMouse ? "#525151" : "#424141" }
        GradientStop { position: 0.33; color: "#292929" }
        GradientStop { position: 0.66; color: "#191817" }
        GradientStop { position: 1.0; color: "#0c0b0a" }
    }

    Text {
        id: label
        anchors.centerIn: parent
        font.family: "Arial"
        font.bold: true
        color: "#e6e6e6"
        text: button.text
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
