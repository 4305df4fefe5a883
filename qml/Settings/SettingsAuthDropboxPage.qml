import QtQuick 2.12
import Core 1.0
import "../Components"
import "../useful.js" as Fn

// The link to the user's Dropbox: made and undone at once through the browser; only the
// fall-back to the service waits for "Accept" like the other options.
Column {
    id: dropboxPage

    property string errorText: ""

    // The store holds flags as 0/1, "0"/"1" or false/true, depending on who wrote them.
    function flag(key) {
        var value = settings.getValue(key)
        return value === true || value === 1 || value === "1" || value === "true"
    }

    function load() {
        chbErrorUpload.check = flag("is_dropbox_error_upload_kuvo")
    }

    function save() {
        settings.setValue("is_dropbox_error_upload_kuvo", chbErrorUpload.check ? 1 : 0)
    }

    spacing: 12

    Component.onCompleted: load()

    DropboxAuth {
        id: dropbox
        onLinkError: dropboxPage.errorText = text
        onBusyChanged: {
            if (busy)
                dropboxPage.errorText = ""
        }
    }

    SettingsHeading {
        text: "Dropbox"
    }
    InfoText {
        objectName: "dropboxAccount"
        width: dropboxPage.width
        text: dropbox.linked
              ? qsTr("Linked to %1 (%2)").arg(dropbox.displayName).arg(dropbox.email)
                + core.emptyString
              : qsTr("Dropbox is not linked.") + core.emptyString
    }
    InfoText {
        objectName: "dropboxUsage"
        width: dropboxPage.width
        visible: dropbox.linked && Number(settings.getValue("drop_box_total")) > 0
        color: "#636567"
        text: dropbox.linked
              ? qsTr("Used %1 of %2")
                .arg(Fn.sizeToStringDropbox(Number(settings.getValue("drop_box_usage"))))
                .arg(Fn.sizeToStringDropbox(Number(settings.getValue("drop_box_total"))))
                + core.emptyString
              : ""
    }
    Row {
        spacing: 12
        PushButtonBlue {
            objectName: "dropboxLink"
            visible: !dropbox.linked
            name: qsTr("Link") + core.emptyString
            onClick: dropbox.link()
        }
        PushButtonDark {
            objectName: "dropboxUnlink"
            visible: dropbox.linked
            name: qsTr("Unlink") + core.emptyString
            onClick: dropbox.unlink()
        }
        AnimatedImage {
            anchors.verticalCenter: parent.verticalCenter
            visible: dropbox.busy
            playing: visible
            source: "qrc:/component/image/component/download.gif"
        }
        InfoText {
            anchors.verticalCenter: parent.verticalCenter
            visible: dropbox.busy
            text: qsTr("Waiting for Dropbox in the browser") + core.emptyString
        }
    }
    InfoText {
        objectName: "dropboxError"
        width: dropboxPage.width
        visible: dropboxPage.errorText !== ""
        color: "#d9534f"
        textFormat: Text.PlainText
        text: dropboxPage.errorText
    }
    CheckBox {
        id: chbErrorUpload
        objectName: "chbDropboxErrorUpload"
        width: dropboxPage.width
        textCheck: qsTr("If process uploaded throw error upload file on kuvo") + core.emptyString
    }
}
