import QtQuick 2.12
import "../Components"

// A message with OK, and Cancel for a question. Return answers OK.
Window {
    id: page

    readonly property bool question: window.data("type") === "questions"

    titleText: "Kuvo - " + (window.data("title") || "")
    windowWidth: 380
    windowHeight: titleHeight + message.height + 96
    focus: true
    Keys.onReturnPressed: window.done(0)
    Keys.onEnterPressed: window.done(0)

    Text {
        id: message
        objectName: "message"
        anchors { left: parent.left; right: parent.right; top: parent.top
                  leftMargin: 24; rightMargin: 24; topMargin: 22 }
        text: window.data("message") || ""
        wrapMode: Text.Wrap
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        color: settings.getValue("mainFontColor")
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 14
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        spacing: 12

        PushButtonBlue {
            objectName: "pbOk"
            name: window.data("Ok") || ""
            onClick: window.done(0)
        }
        PushButton {
            objectName: "pbCancel"
            visible: page.question
            titleText: window.data("Cancel") || ""
            onClick: window.done(1)
        }
    }
}
