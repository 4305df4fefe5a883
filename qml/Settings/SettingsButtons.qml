import QtQuick 2.12
import "../Components"

// The row under every settings page. prefix names the buttons for the tests and the tools
// that look for them: <prefix>ResetToDefault, <prefix>Accept, <prefix>Cancel.
Row {
    id: buttons

    property string prefix: ""

    signal resetClicked()
    signal acceptClicked()
    signal cancelClicked()

    spacing: 10

    PushButtonBlue {
        objectName: buttons.prefix + "ResetToDefault"
        name: qsTr("Reset by default") + core.emptyString
        onClick: buttons.resetClicked()
    }
    PushButtonBlue {
        objectName: buttons.prefix + "Accept"
        name: qsTr("Accept") + core.emptyString
        onClick: buttons.acceptClicked()
    }
    PushButtonDark {
        objectName: buttons.prefix + "Cancel"
        name: qsTr("Cancel") + core.emptyString
        onClick: buttons.cancelClicked()
    }
}
