import QtQuick 2.12

// Google disk is listed, but this version cannot upload there, so it cannot be chosen.
Column {
    spacing: 10
    SettingsHeading {
        text: qsTr("Google disk") + core.emptyString
    }
    InfoText {
        objectName: "googleUnavailable"
        width: parent.width
        text: qsTr("This version cannot upload to Google disk, so it cannot be chosen as the "
                   + "storage. Uploads go to the storage that is chosen.") + core.emptyString
    }
}
