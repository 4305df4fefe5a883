import QtQuick 2.12

// The SFTP server alone, for a target that offers no plain FTP.
FtpConnectionForm {
    sftp: true
    checkText: qsTr("Check sftp connect") + core.emptyString
}
