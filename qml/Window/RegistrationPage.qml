import QtQuick 2.12
import Core 1.0
import "../Components"

// Signing in to the service: e-mail and password, or a social network in the browser, and
// the way to the service's registration page for a new account.
Window {
    id: page

    readonly property bool busy: core.account.status === Autorization.AuthInProgress
    property string emailError: ""
    property string passwordError: ""
    property string otherError: ""

    function signIn() {
        emailError = ""
        passwordError = ""
        otherError = ""
        core.account.signIn(email.text, password.text)
    }

    titleText: "Kuvo - " + qsTr("Sign in") + core.emptyString
    windowWidth: 380
    windowHeight: titleHeight + form.height + 40

    Component.onCompleted: email.edit.forceActiveFocus()

    Connections {
        target: core.account
        function onAuthError(key, message) {
            if (key === "email")
                page.emailError = message
            else if (key === "password")
                page.passwordError = message
            else
                page.otherError = message
        }
        function onAuthChanged(auth) {
            if (auth)
                core.registrationWidgetDestroy()
        }
    }

    Column {
        id: form
        anchors { left: parent.left; right: parent.right; top: parent.top
                  leftMargin: 40; rightMargin: 40; topMargin: 18 }
        spacing: 8

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            source: "qrc:/icon/image/icon/logo_big.png"
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Sign in to Kuvo") + core.emptyString
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 18
            font.bold: true
        }
        Item { width: 1; height: 4 }
        KTextInput {
            id: email
            objectName: "email"
            width: parent.width
            label: qsTr("E-mail") + core.emptyString
            enabled: !page.busy
            onAccepted: password.edit.forceActiveFocus()
        }
        ErrorLine {
            objectName: "emailError"
            text: page.emailError
        }
        KTextInput {
            id: password
            objectName: "password"
            width: parent.width
            label: qsTr("Password") + core.emptyString
            echoMode: TextInput.Password
            enabled: !page.busy
            onAccepted: page.signIn()
        }
        ErrorLine {
            objectName: "passwordError"
            text: page.passwordError
        }
        LoginPushButton {
            objectName: "signInButton"
            width: parent.width
            enabled: !page.busy
            name: qsTr("Sign in") + core.emptyString
            onClick: page.signIn()
        }
        Row {
            objectName: "busy"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: page.busy
            spacing: 8
            BusyImage {
                width: 20
                height: 20
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Signing in...") + core.emptyString
                color: "#7d868c"
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 12
            }
        }
        ErrorLine {
            objectName: "otherError"
            text: page.otherError
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("or sign in with") + core.emptyString
            color: "#7d868c"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 12
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8
            Repeater {
                model: [
                    { "provider": "facebook", "title": "Facebook" },
                    { "provider": "vk", "title": "VK" },
                    { "provider": "twitter", "title": "Twitter" }
                ]
                PushButton {
                    objectName: modelData.provider + "Button"
                    width: (form.width - 16) / 3
                    enabled: !page.busy
                    titleText: modelData.title
                    onClick: {
                        page.otherError = ""
                        core.account.signInWithBrowser(modelData.provider)
                    }
                }
            }
        }
        Item { width: 1; height: 6 }
        Link {
            objectName: "signUpLink"
            width: parent.width
            hAlign: Text.AlignHCenter
            titleText: qsTr("No account yet? Sign up") + core.emptyString
            onClick: core.openUrl("https://" + core.hostUrlAuth() + "/registration")
        }
    }
}
