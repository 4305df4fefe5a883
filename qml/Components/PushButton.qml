import QtQuick 2.12
import KuvoComponent 1.0

// A plain grey text button; it answers the left and the right mouse button.
Item {
    id: button

    property string titleText: qsTr("Push button") + core.emptyString
    readonly property bool hovered: mouse.containsMouse

    signal click()

    implicitWidth: Math.max(90, label.implicitWidth + 28)
    implicitHeight: 30
    opacity: enabled ? 1.0 : 0.5

    Rectangle {
        anchors.fill: parent
        radius: 4
        border.color: "#b0b1b1"
        gradient: Gradient {
            GradientStop { position: 0.0; color: button.hovered ? "#e9e9e9" : "#ffffff" }
            GradientStop { position: 0.5; color: button.hovered ? "#dbdada" : "#dfdfdf" }
            GradientStop { position: 1.0; color: button.hovered ? "#919293" : "#c6c5c5" }
        }
    }
    Text {
        id: label
        anchors.centerIn: parent
        anchors.verticalCenterOffset: mouse.pressed ? 1 : 0
        text: button.titleText
        color: "#45494b"
        style: Text.Raised
        styleColor: "#ffffff"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 13
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: button.click()
    }
    CursorShapeArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
    }
}
