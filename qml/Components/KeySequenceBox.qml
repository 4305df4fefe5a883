import QtQuick 2.12

// The key combination of KeySequenceBox: the caps of the modifiers present and of the key,
// joined by plus signs on a dark plate. The box fades it in with show() and out with hide().
BorderImage {
    id: box

    property bool altVisible: false
    property bool ctrlVisible: false
    property bool shiftVisible: false
    property string key: ""

    function show() {
        fade.to = 1
        fade.duration = 150
        fade.restart()
    }
    function hide() {
        fade.to = 0
        fade.duration = 400
        fade.restart()
    }

    source: "qrc:/images/images/key_seq_box.png"
    border { left: 14; top: 14; right: 14; bottom: 14 }
    // Whole pixels: the window takes the size of the plate and would cut a fraction off.
    width: Math.ceil(caps.width) + 40
    height: caps.height + 32
    opacity: 0

    NumberAnimation {
        id: fade
        target: box
        property: "opacity"
    }

    Row {
        id: caps
        anchors.centerIn: parent
        spacing: 10

        Repeater {
            model: [
                { text: "Alt", shown: box.altVisible, modifier: true },
                { text: "Ctrl", shown: box.ctrlVisible, modifier: true },
                { text: "Shift", shown: box.shiftVisible, modifier: true },
                { text: box.key, shown: true, modifier: false }
            ]

            Row {
                readonly property bool windowsKey: modelData.text === "Left Windows"
                                                   || modelData.text === "Right Windows"

                objectName: modelData.modifier ? modelData.text + "Cap" : "keyCap"
                visible: modelData.shown
                spacing: 10

                Rectangle {
                    width: Math.max(height, Math.ceil(windowsKey ? icon.width : label.implicitWidth) + 24)
                    height: 44
                    radius: 5
                    border.color: "#6a6e7c"
                    gradient: Gradient {
                        GradientStop { position: 0.0; color: "#4a4e58" }
                        GradientStop { position: 1.0; color: "#2c2f35" }
                    }

                    Text {
                        id: label
                        objectName: modelData.modifier ? "" : "keyText"
                        anchors.centerIn: parent
                        visible: !windowsKey
                        text: modelData.text
                        color: "#ffffff"
                        font.family: "Arial"
                        font.pixelSize: 20
                        font.bold: true
                    }
                    Image {
                        id: icon
                        objectName: modelData.modifier ? "" : "windowsIcon"
                        anchors.centerIn: parent
                        visible: windowsKey
                        source: "qrc:/images/images/win_key_icon.png"
                    }
                }
                Text {
                    height: 44
                    visible: modelData.modifier
                    verticalAlignment: Text.AlignVCenter
                    text: "+"
                    color: "#828295"
                    font.family: "Arial"
                    font.pixelSize: 22
                    font.bold: true
                }
            }
        }
    }
}
