import QtQuick 2.12
import "../Components"

// One hot key on the hot-key page: its name, the field that shows and takes the combination,
// and "Change". problem is what the last registration said about this hot key.
Column {
    id: row

    property string name: ""
    property string text: ""
    property string problem: ""
    property alias field: field

    // The field stopped asking, with a new combination or without.
    signal asked()
    signal changeClicked()

    spacing: 2

    Row {
        spacing: 12
        FieldLabel {
            width: 130
            anchors.verticalCenter: parent.verticalCenter
            text: row.text
        }
        HootKeyInput {
            id: field
            objectName: row.name + "Key"
            width: 230
            onActiveFocusInputChanged: {
                if (!activeFocusInput)
                    row.asked()
            }
        }
        Link {
            objectName: row.name + "Change"
            anchors.verticalCenter: parent.verticalCenter
            titleText: qsTr("Change") + core.emptyString
            onClick: row.changeClicked()
        }
    }
    Text {
        objectName: row.name + "Problem"
        x: 142
        width: row.width - x
        visible: text !== ""
        text: row.problem
        wrapMode: Text.WordWrap
        color: "#d9534f"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 11
    }
}
