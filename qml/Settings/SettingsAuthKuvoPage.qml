import QtQuick 2.12
import "../Components"
import "../useful.js" as Fn

// The account of the service: who is signed in, with a way out; or a way in.
Column {
    id: kuvoPage

    readonly property bool signedIn: core.account.auth

    spacing: 12

    SettingsHeading {
        text: qsTr("Kuvo account") + core.emptyString
    }
    Row {
        objectName: "accountCard"
        visible: kuvoPage.signedIn
        spacing: 14
        Image {
            width: 48
            height: 48
            fillMode: Image.PreserveAspectFit
            source: settings.userAvatar
        }
        Column {
            width: kuvoPage.width - 62
            spacing: 4
            InfoText {
                objectName: "userName"
                width: parent.width
                text: String(settings.userName || "")
                font.bold: true
            }
            InfoText {
                objectName: "userMail"
                width: parent.width
                text: String(settings.userMail || "")
            }
            InfoText {
                objectName: "usage"
                width: parent.width
                visible: Number(settings.quota) > 0
                color: "#636567"
                text: qsTr("Used %1 of %2").arg(Fn.sizeToString(Number(settings.usage)))
                      .arg(Fn.sizeToString(Number(settings.quota))) + core.emptyString
            }
        }
    }
    PushButtonDark {
        objectName: "signOut"
        visible: kuvoPage.signedIn
        name: qsTr("Sign out") + core.emptyString
        onClick: core.account.signOut()
    }
    InfoText {
        objectName: "signedOut"
        width: kuvoPage.width
        visible: !kuvoPage.signedIn
        text: qsTr("You are not signed in to Kuvo.") + core.emptyString
    }
    PushButtonBlue {
        objectName: "signIn"
        visible: !kuvoPage.signedIn
        name: qsTr("Sign in") + core.emptyString
        onClick: core.checkAutorization()
    }
}
