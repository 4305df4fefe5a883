import QtQuick 2.12
import "../Components"

// The capture hot keys. "Change" releases every hot key so that the combination being typed
// starts nothing; as soon as the field stops asking (a combination, Escape, a click elsewhere)
// the stored hot keys are grabbed again. save() stores the shown combinations.
Item {
    id: delegate

    // The complaints of the last registration, by hot-key type.
    property var problems: ({})

    signal resetClicked()
    signal acceptClicked()
    signal cancelClicked()

    function stored(key) {
        var value = settings.getValue(key)
        return value === undefined || value === null ? "" : String(value)
    }

    function load() {
        problems = {}
        var rows = [fragmentRow, fullScreenRow, quickRow]
        for (var i = 0; i < rows.length; ++i) {
            rows[i].field.activeFocusInput = false
            rows[i].field.text = stored(rows[i].key)
        }
    }

    function save() {
        problems = {}
        var rows = [fragmentRow, fullScreenRow, quickRow]
        for (var i = 0; i < rows.length; ++i) {
            rows[i].field.activeFocusInput = false
            settings.setValue(rows[i].key, rows[i].field.text)
        }
    }

    // The field first: taking the focus from another field that still asks grabs the hot keys
    // again, which must come before releasing them.
    function change(row) {
        row.field.activeFocusInput = true
        core.unhookKeyboard()
    }

    function grabAgain() {
        problems = {}
        core.updateHook()
    }

    Component.onCompleted: load()

    Connections {
        target: core
        function onHookRegistrationFailed(type, error) {
            var found = Object.assign({}, delegate.problems)
            found[type] = error
            delegate.problems = found
        }
    }

    Column {
        id: sections
        anchors { left: parent.left; right: parent.right; top: parent.top }
        spacing: 5

        SettingsHeading {
            text: qsTr("Primary") + core.emptyString
        }
        HotKeyRow {
            id: fragmentRow
            name: "fragment"
            property string key: "keyFragmentScreen"
            width: sections.width
            text: qsTr("Fragment screen") + core.emptyString
            problem: delegate.problems[0] || ""
            onAsked: delegate.grabAgain()
            onChangeClicked: delegate.change(fragmentRow)
        }
        HotKeyRow {
            id: fullScreenRow
            name: "fullScreen"
            property string key: "keySnapshotScreen"
            width: sections.width
            text: qsTr("Full screen") + core.emptyString
            problem: delegate.problems[2] || ""
            onAsked: delegate.grabAgain()
            onChangeClicked: delegate.change(fullScreenRow)
        }
        HotKeyRow {
            id: quickRow
            name: "quick"
            property string key: "keyQuickFragmentScreen"
            width: sections.width
            text: qsTr("Quick screen") + core.emptyString
            problem: delegate.problems[1] || ""
            onAsked: delegate.grabAgain()
            onChangeClicked: delegate.change(quickRow)
        }
        Item { width: 1; height: 4 }
        SettingsHeading {
            text: qsTr("Secondary") + core.emptyString
        }
        Repeater {
            model: [
                qsTr("Ctrl + Enter - Send screenshot to selected storage"),
                qsTr("Ctrl + C - Copy screenshot to clipboard"),
                qsTr("Ctrl + S - Save it to your computer"),
                qsTr("Ctrl + C - Copy on clipboard #hex of color under cursor"),
                qsTr("Esc - Cancel the removal of a screenshot") + core.emptyString
            ]
            InfoText {
                text: modelData
                font.pixelSize: 12
            }
        }
        Item { width: 1; height: 4 }
        SettingsHeading {
            text: qsTr("Social") + core.emptyString
        }
        Repeater {
            model: [
                qsTr("Ctrl + Shift + F - Send screenshot to facebook"),
                qsTr("Ctrl + Shift + T - Send screenshot to twitter"),
                qsTr("Ctrl + Shift + V - Send screenshot to vkontakte"),
                qsTr("Ctrl + Shift + O - Send screenshot to odnoklassniki"),
                qsTr("Ctrl + Shift + E - Send screenshot to e-mail") + core.emptyString
            ]
            InfoText {
                text: modelData
                font.pixelSize: 12
            }
        }
    }

    SettingsButtons {
        prefix: "hotKey"
        anchors { right: parent.right; bottom: parent.bottom }
        onResetClicked: delegate.resetClicked()
        onAcceptClicked: delegate.acceptClicked()
        onCancelClicked: delegate.cancelClicked()
    }
}
