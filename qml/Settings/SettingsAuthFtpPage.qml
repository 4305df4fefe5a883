import QtQuick 2.12
import "../Components"

// The FTP or SFTP server that uploads go to when the target is "ftp".
Column {
    id: ftpPage

    // The store holds flags as 0/1, "0"/"1" or false/true, depending on who wrote them.
    function flag(key) {
        var value = settings.getValue(key)
        return value === true || value === 1 || value === "1" || value === "true"
    }

    function load() {
        chbSftp.check = flag("is_sftp")
        form.sftp = chbSftp.check
        form.load()
        chbErrorUpload.check = flag("is_ftp_error_upload_kuvo")
    }

    function save() {
        settings.setValue("is_sftp", chbSftp.check ? 1 : 0)
        form.save()
        settings.setValue("is_ftp_error_upload_kuvo", chbErrorUpload.check ? 1 : 0)
    }

    spacing: 12

    Component.onCompleted: load()

    CheckBox {
        id: chbSftp
        objectName: "chbSftp"
        textCheck: "SFTP"
        onClick: form.sftp = check
    }
    FtpConnectionForm {
        id: form
        objectName: "ftpForm"
        width: ftpPage.width
        checkText: qsTr("Check ftp connect") + core.emptyString
    }
    CheckBox {
        id: chbErrorUpload
        objectName: "chbFtpErrorUpload"
        width: ftpPage.width
        textCheck: qsTr("If process uploaded throw error upload file on kuvo") + core.emptyString
    }
}
