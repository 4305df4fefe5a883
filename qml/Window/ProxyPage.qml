import QtQuick 2.12
import "../Components"

// The proxy's host, port, login and password. Return accepts; a right click in a field pastes.
Window {
    id: page

    function stored(key) {
        var value = settings.getValue(key)
        return value === undefined || value === null ? "" : String(value)
    }

    function accept() {
        settings.setValue("proxy_host", host.text)
        settings.setValue("proxy_port", port.text)
        settings.setValue("proxy_user", login.text)
        settings.setValue("proxy_password", password.text)
        window.close()
    }

    titleText: "Kuvo - " + qsTr("Proxy setting") + core.emptyString
    windowWidth: 360
    windowHeight: titleHeight + fields.height + 108

    Grid {
        id: fields
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 22 }
        columns: 2
        rowSpacing: 10
        columnSpacing: 12
        verticalItemAlignment: Grid.AlignVCenter

        Text {
            id: hostLabel
            text: qsTr("Host") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        KTextInput {
            id: host
            objectName: "host"
            width: fields.width - 90
            text: page.stored("proxy_host")
            pasteByRightClick: true
            onAccepted: page.accept()
        }
        Text {
            width: 78
            text: qsTr("Port") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        KTextInput {
            id: port
            objectName: "port"
            width: 90
            typeSom: "integer"
            text: page.stored("proxy_port")
            pasteByRightClick: true
            onAccepted: page.accept()
        }
        Text {
            text: qsTr("Login") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        KTextInput {
            id: login
            objectName: "login"
            width: fields.width - 90
            text: page.stored("proxy_user")
            pasteByRightClick: true
            onAccepted: page.accept()
        }
        Text {
            text: qsTr("Password") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
        KTextInput {
            id: password
            objectName: "password"
            width: fields.width - 90
            echoMode: TextInput.Password
            text: page.stored("proxy_password")
            pasteByRightClick: true
            onAccepted: page.accept()
        }
    }
    PushButtonBlue {
        objectName: "acceptButton"
        anchors { right: parent.right; bottom: parent.bottom; margins: 22 }
        name: qsTr("Accept") + core.emptyString
        onClick: page.accept()
    }
}
