import QtQuick 2.12

// Google disk has nothing to set up yet.
Item {
    SettingsHeading {
        text: qsTr("Goods disk settings") + core.emptyString
    }
}
