import QtQuick 2.12
import "../Components"

// The upload is done and its link is on the clipboard. The window hides itself after a while.
Window {
    id: page

    titleText: "Kuvo - " + qsTr("Upload") + core.emptyString
    windowWidth: 380
    windowHeight: titleHeight + 196

    Connections {
        target: settings
        function onValueChanged(name, value) {
            if (name === "show_last_upload" || name === "")
                doNotShow.check = !settings.showLastUpload
        }
    }

    Row {
        id: heading
        anchors { left: parent.left; top: parent.top; leftMargin: 18; topMargin: 14 }
        spacing: 12
        Image {
            source: "qrc:/images/images/tool/done.png"
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4
            Text {
                text: qsTr("Upload complete") + core.emptyString
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 16
                font.bold: true
            }
            Text {
                objectName: "lastLink"
                width: page.windowWidth - 100
                text: core.lastLink
                elide: Text.ElideMiddle
                color: "#0b77a2"
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 13
            }
        }
    }
    Row {
        anchors { horizontalCenter: parent.horizontalCenter; top: heading.bottom; topMargin: 10 }
        spacing: 16
        ToolPushButton {
            objectName: "openButton"
            title: qsTr("Open") + core.emptyString
            image: "qrc:/images/images/tool/open.png"
            toolTip: qsTr("Open link in the last screenshot/file") + core.emptyString
            onClick: core.openLastLink()
        }
        ToolPushButton {
            objectName: "copyButton"
            title: qsTr("Copy") + core.emptyString
            image: "qrc:/images/images/tool/copy.png"
            toolTip: qsTr("Copy link of the last screenshot/file") + core.emptyString
            onClick: core.copyLastLink()
        }
    }
    CheckBox {
        id: doNotShow
        objectName: "doNotShow"
        anchors { left: parent.left; bottom: parent.bottom; leftMargin: 18; bottomMargin: 16 }
        textCheck: qsTr("Do not show this window") + core.emptyString
        check: !settings.showLastUpload
        onClick: settings.showLastUpload = !check
    }
}
