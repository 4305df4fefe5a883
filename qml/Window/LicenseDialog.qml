import QtQuick 2.12
import "../Components"

// The terms of use; the window closes once the user accepts them.
Window {
    id: page

    titleText: "Kuvo - " + qsTr("Terms of use") + core.emptyString
    windowWidth: 560
    windowHeight: 460

    Rectangle {
        id: paper
        anchors { left: parent.left; right: parent.right; top: parent.top
                  bottom: accept.top; margins: 18 }
        radius: 3
        color: "#ffffff"
        border.color: "#bab8b8"

        Flickable {
            id: flick
            anchors.fill: parent
            anchors.margins: 10
            anchors.rightMargin: 20
            contentWidth: width
            contentHeight: terms.height
            clip: true
            boundsBehavior: Flickable.StopAtBounds

            Text {
                id: terms
                width: flick.width
                text: core.licenseText()
                wrapMode: Text.Wrap
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 13
            }
        }
        ScrollBar {
            anchors { right: parent.right; top: parent.top; bottom: parent.bottom; margins: 4 }
            flickable: flick
        }
    }
    CheckBox {
        id: accept
        objectName: "acceptCheck"
        anchors { left: parent.left; leftMargin: 18; verticalCenter: start.verticalCenter }
        textCheck: qsTr("I accept the agreement") + core.emptyString
    }
    PushButtonBlue {
        id: start
        objectName: "startButton"
        anchors { right: parent.right; bottom: parent.bottom; margins: 18 }
        enabled: accept.check
        name: qsTr("Start use kuvo") + core.emptyString
        onClick: window.close()
    }
}
