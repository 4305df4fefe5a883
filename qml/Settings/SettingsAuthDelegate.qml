import QtQuick 2.12
import "../Components"

// Where uploads go: one radio button per target, the chosen target's page beside them. The
// choice and the pages' fields are stored by save() only.
Item {
    id: delegate

    property string target: "kuvo"
    // The page shown beside the buttons: the chosen target's, or that of a target that cannot
    // take uploads, which explains itself but is never chosen.
    property string page: target
    signal resetClicked()
    signal acceptClicked()
    signal cancelClicked()

    // The buttons turn themselves on when clicked, so they are set from the choice, not bound.
    onTargetChanged: showTarget()

    function showTarget() {
        kuvoTarget.check = target === "kuvo"
        ftpTarget.check = target === "ftp"
        dropboxTarget.check = target === "dropbox"
        googleTarget.check = false
        page = target
    }

    function choose(name) {
        target = name
        showTarget()
    }

    function load() {
        var stored = settings.getValue("type_upload")
        target = stored === "ftp" || stored === "dropbox" ? stored : "kuvo"
        showTarget()
        ftpPage.load()
        dropboxPage.load()
    }

    function save() {
        settings.setValue("type_upload", target)
        ftpPage.save()
        dropboxPage.save()
    }

    Component.onCompleted: load()

    // Signing out empties the stored servers; the page must not keep showing them, or the
    // next "Accept" would store them again.
    Connections {
        target: core.account
        function onAuthChanged(auth) {
            ftpPage.load()
        }
    }

    Column {
        id: choices
        anchors { left: parent.left; top: parent.top }
        width: 130
        spacing: 12
        RadioButton {
            id: kuvoTarget
            objectName: "kuvoTarget"
            width: choices.width
            onClick: delegate.choose("kuvo")
            textCheck: "Kuvo"
        }
        RadioButton {
            id: ftpTarget
            objectName: "ftpTarget"
            width: choices.width
            onClick: delegate.choose("ftp")
            textCheck: "FTP\\SFTP"
        }
        RadioButton {
            id: dropboxTarget
            objectName: "dropboxTarget"
            width: choices.width
            onClick: delegate.choose("dropbox")
            textCheck: "Dropbox"
        }
        RadioButton {
            id: googleTarget
            objectName: "googleTarget"
            width: choices.width
            onClick: {
                check = false
                delegate.page = "google"
            }
            textCheck: qsTr("Google disk") + core.emptyString
        }
    }
    Rectangle {
        id: divider
        anchors { left: choices.right; top: parent.top; bottom: buttons.top; bottomMargin: 16 }
        width: 1
        color: "#d3d6da"
    }
    Item {
        anchors { left: divider.right; leftMargin: 20; right: parent.right; top: parent.top
                  bottom: buttons.top; bottomMargin: 16 }
        SettingsAuthKuvoPage {
            objectName: "kuvoPage"
            width: parent.width
            visible: delegate.page === "kuvo"
        }
        SettingsAuthFtpPage {
            id: ftpPage
            objectName: "ftpPage"
            width: parent.width
            visible: delegate.page === "ftp"
        }
        SettingsAuthDropboxPage {
            id: dropboxPage
            objectName: "dropboxPage"
            width: parent.width
            visible: delegate.page === "dropbox"
        }
        SettingsAuthGoogleDiskPage {
            objectName: "googlePage"
            width: parent.width
            visible: delegate.page === "google"
        }
    }

    SettingsButtons {
        id: buttons
        prefix: "auth"
        anchors { right: parent.right; bottom: parent.bottom }
        onResetClicked: delegate.resetClicked()
        onAcceptClicked: delegate.acceptClicked()
        onCancelClicked: delegate.cancelClicked()
    }
}
