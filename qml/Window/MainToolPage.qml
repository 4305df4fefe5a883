import QtQuick 2.12
import "../Components"

// The main tool window: capture, history and settings, and the last link; while nobody is
// signed in, the way to sign in instead.
Window {
    id: page

    readonly property bool signedIn: core.account.auth
    // The capture comes with the capture views; until the controller has it, its buttons rest.
    readonly property bool canCapture: typeof core.screen === "function"

    titleText: "Kuvo" + core.emptyString
    windowWidth: 420
    windowHeight: titleHeight + 250

    Connections {
        target: window
        function onShowed() {
            window.updatePos()
        }
    }

    Row {
        id: tools
        objectName: "tools"
        visible: page.signedIn
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: 12
        spacing: 12

        ToolPushButton {
            objectName: "fragmentButton"
            title: qsTr("Fragment") + core.emptyString
            image: "qrc:/images/images/tool/fragment.png"
            toolTip: qsTr("Capture fragment screen") + core.emptyString
            enabled: page.canCapture
            onClick: core.screen(false, false)
        }
        ToolPushButton {
            objectName: "fullScreenButton"
            title: qsTr("Full screen") + core.emptyString
            image: "qrc:/images/images/tool/full_screen.png"
            toolTip: qsTr("Fullscreen - capture full screen") + core.emptyString
            enabled: page.canCapture
            onClick: core.screen(true, false)
        }
        ToolPushButton {
            objectName: "historyButton"
            title: qsTr("History") + core.emptyString
            image: "qrc:/images/images/tool/history.png"
            toolTip: qsTr("History - show history") + core.emptyString
            onClick: core.openHistory()
        }
        ToolPushButton {
            objectName: "settingsButton"
            title: qsTr("Settings") + core.emptyString
            image: "qrc:/images/images/tool/settings.png"
            onClick: core.showSetting()
        }
    }

    Rectangle {
        id: lastUpload
        objectName: "lastUploadPanel"
        visible: page.signedIn
        anchors { left: parent.left; right: parent.right; top: tools.bottom
                  leftMargin: 16; rightMargin: 16; topMargin: 14 }
        height: 104
        radius: 4
        color: "#ffffff"
        border.color: "#d3d6da"

        Text {
            id: lastTitle
            anchors { left: parent.left; top: parent.top; leftMargin: 14; topMargin: 12 }
            text: qsTr("Last upload") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
            font.bold: true
        }
        Text {
            objectName: "lastLink"
            anchors { left: parent.left; right: lastButtons.left; top: lastTitle.bottom
                      leftMargin: 14; rightMargin: 8; topMargin: 8 }
            text: core.lastLink !== "" ? core.lastLink
                                       : qsTr("Nothing uploaded yet") + core.emptyString
            elide: Text.ElideMiddle
            color: core.lastLink !== "" ? "#0b77a2" : "#7d868c"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        Row {
            id: lastButtons
            anchors { right: parent.right; verticalCenter: parent.verticalCenter; rightMargin: 6 }
            ToolPushButton {
                objectName: "openButton"
                title: qsTr("Open") + core.emptyString
                image: "qrc:/images/images/tool/open.png"
                toolTip: qsTr("Open link in the last screenshot/file") + core.emptyString
                enabled: core.lastLink !== ""
                onClick: core.openLastLink()
            }
            ToolPushButton {
                objectName: "copyButton"
                title: qsTr("Copy") + core.emptyString
                image: "qrc:/images/images/tool/copy.png"
                toolTip: qsTr("Copy link of the last screenshot/file") + core.emptyString
                enabled: core.lastLink !== ""
                onClick: core.copyLastLink()
            }
        }
    }

    Rectangle {
        objectName: "signInPanel"
        visible: !page.signedIn
        anchors { left: parent.left; right: parent.right; top: parent.top
                  bottom: footer.top; margins: 16 }
        radius: 4
        color: "#ffffff"
        border.color: "#d3d6da"

        Column {
            anchors.centerIn: parent
            width: parent.width - 40
            spacing: 18
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: qsTr("To get started with Kuvo you must log") + core.emptyString
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 15
            }
            LoginPushButton {
                objectName: "enterButton"
                anchors.horizontalCenter: parent.horizontalCenter
                width: 200
                name: qsTr("Enter to kuvo") + core.emptyString
                onClick: core.checkAutorization()
            }
        }
    }

    Item {
        id: footer
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom
                  leftMargin: 18; rightMargin: 18; bottomMargin: 12 }
        height: 20
        Link {
            objectName: "helpLink"
            anchors.left: parent.left
            titleText: qsTr("Help") + core.emptyString
            onClick: core.openHelp()
        }
        Link {
            objectName: "exitLink"
            anchors.right: parent.right
            titleText: qsTr("Exit") + core.emptyString
            onClick: core.exitApp()
        }
    }
}
