import QtQuick 2.12
import "../Components"

// One error text; it can be selected and copied, for a message to the support.
Window {
    id: page

    property string errorText: window.data("errorText") || ""

    titleText: "Kuvo - " + qsTr("Error") + core.emptyString
    windowWidth: 380
    windowHeight: titleHeight + message.height + 96
    focus: true
    Keys.onReturnPressed: window.close()
    Keys.onEnterPressed: window.close()

    Connections {
        target: window
        function onDataChanged(key, value) {
            if (key === "errorText")
                page.errorText = value
        }
    }

    TextEdit {
        id: message
        objectName: "errorText"
        anchors { left: parent.left; right: parent.right; top: parent.top
                  leftMargin: 24; rightMargin: 24; topMargin: 22 }
        text: page.errorText
        readOnly: true
        selectByMouse: true
        wrapMode: TextEdit.Wrap
        textFormat: TextEdit.PlainText
        horizontalAlignment: TextEdit.AlignHCenter
        color: settings.getValue("mainFontColor")
        selectionColor: "#2b8fc4"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14
    }
    PushButtonBlue {
        objectName: "pbOk"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        name: qsTr("Ok") + core.emptyString
        onClick: window.close()
    }
}
