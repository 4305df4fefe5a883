import QtQuick 2.12
import KuvoComponent 1.0
import "../useful.js" as Fn

// The field of one hot key. While it has the focus it asks for a combination and takes the
// next one pressed; Escape gives back lastHoot, the text it had before. A read-only field
// starts asking only when the page sets activeFocusInput, any other one also on a click.
Rectangle {
    id: field

    property bool readOnly: true
    property bool activeFocusInput: false
    property string lastHoot: ""
    property alias text: shown.text

    signal keyPress(var event)
    signal keyRelease(var event)

    implicitWidth: 200
    implicitHeight: 30
    radius: 3
    color: "#ffffff"
    border.color: catcher.activeFocus ? "#2b8fc4" : "#cfd0d7"

    // The page may also end the asking, e.g. when it shows the stored combinations again.
    onActiveFocusInputChanged: {
        if (activeFocusInput) {
            lastHoot = shown.text
            catcher.forceActiveFocus()
        } else {
            catcher.focus = false
        }
    }

    Text {
        id: shown
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        visible: !catcher.activeFocus
        color: "#2a2a2c"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14
    }
    Column {
        anchors.verticalCenter: parent.verticalCenter
        x: 8
        visible: catcher.activeFocus
        Text {
            text: qsTr("Press a key combination") + core.emptyString
            color: "#45494b"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 12
        }
        Text {
            text: qsTr("Esc for cancel") + core.emptyString
            color: "#636567"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 10
        }
    }
    MouseArea {
        anchors.fill: parent
        enabled: !field.readOnly
        onClicked: field.activeFocusInput = true
    }
    Item {
        id: catcher
        anchors.fill: parent
        onActiveFocusChanged: field.activeFocusInput = activeFocus

        Keys.onPressed: {
            event.accepted = true
            if (event.key === Qt.Key_Escape) {
                shown.text = field.lastHoot
                catcher.focus = false
            } else {
                var combination = Fn.getHootKey(event)
                if (combination !== "") {
                    shown.text = combination
                    catcher.focus = false
                }
            }
            field.keyPress(event)
        }
        Keys.onReleased: field.keyRelease(event)
    }
}
