import QtQuick 2.12
import "../Components"
import "../Settings"

// The settings window: the three tools on the left, the chosen tool's page on the right.
// Every page only shows values until "Accept" stores them; "Cancel" shows the stored ones
// again, so a page never leaves half of a change in the store.
Window {
    id: page

    readonly property var delegates: [authDelegate, settingDelegate, hotKeyDelegate]

    titleText: "Kuvo - " + qsTr("Settings") + core.emptyString
    windowWidth: 720
    windowHeight: 560

    QtObject {
        id: prv_data
        objectName: "prv_data"

        property bool auth_check: true
        property bool setting_check: false
        property bool hotkey_check: false

        function checkItem(name) {
            auth_check = name === "auth"
            setting_check = name === "setting"
            hotkey_check = name === "hotkey"
        }

        function resetByDefault() {
            settings.resetDefault()
            // The upload target has a default of its own that the store's reset leaves alone.
            settings.setValue("type_upload", "kuvo")
            showStored()
        }

        function cancel() {
            showStored()
        }

        function saveData() {
            for (var i = 0; i < page.delegates.length; ++i)
                page.delegates[i].save()
            core.updateHook()
        }

        // Also gives the hot keys back: a "Change" that was never finished released them.
        function showStored() {
            for (var i = 0; i < page.delegates.length; ++i)
                page.delegates[i].load()
            core.updateHook()
        }
    }

    Column {
        id: tools
        anchors { left: parent.left; top: parent.top; topMargin: 16 }
        width: 120
        spacing: 4

        SettingToolItem {
            id: authToolItem
            objectName: "authToolItem"
            width: tools.width
            text: qsTr("Storage") + core.emptyString
            check: prv_data.auth_check
            iconSource: check ? "qrc:/icon/image/icon/setting_tool_storage_check.png"
                              : "qrc:/icon/image/icon/setting_tool_storage.png"
            onClick: prv_data.checkItem("auth")
        }
        SettingToolItem {
            id: settingToolItem
            objectName: "settingToolItem"
            width: tools.width
            text: qsTr("Settings") + core.emptyString
            check: prv_data.setting_check
            iconSource: check ? "qrc:/icon/image/icon/setting_tool_setting_check.png"
                              : "qrc:/icon/image/icon/setting_tool_setting.png"
            onClick: prv_data.checkItem("setting")
        }
        SettingToolItem {
            id: hootKeyToolItem
            objectName: "hootKeyToolItem"
            width: tools.width
            text: qsTr("Hot key") + core.emptyString
            check: prv_data.hotkey_check
            iconSource: check ? "qrc:/icon/image/icon/setting_tool_hoot_check.png"
                              : "qrc:/icon/image/icon/setting_tool_hoot.png"
            onClick: prv_data.checkItem("hotkey")
        }
    }
    Image {
        anchors { horizontalCenter: tools.horizontalCenter; bottom: parent.bottom
                  bottomMargin: 16 }
        source: "qrc:/component/image/component/version_background.png"
        Text {
            objectName: "version"
            anchors.centerIn: parent
            text: qsTr("Version ") + core.emptyString + core.appVersion()
            color: "#f0f0f0"
            font.family: "Arial"
            font.pixelSize: 11
        }
    }
    Rectangle {
        id: divider
        anchors { left: tools.right; leftMargin: 8; top: parent.top; bottom: parent.bottom }
        width: 1
        color: "#d3d6da"
    }

    Item {
        id: content
        anchors { left: divider.right; right: parent.right; top: parent.top
                  bottom: parent.bottom; margins: 20 }

        SettingsAuthDelegate {
            id: authDelegate
            objectName: "authDelegate"
            anchors.fill: parent
            visible: prv_data.auth_check
            onResetClicked: prv_data.resetByDefault()
            onAcceptClicked: prv_data.saveData()
            onCancelClicked: prv_data.cancel()
        }
        SettingsSettingDelegate {
            id: settingDelegate
            objectName: "settingDelegate"
            anchors.fill: parent
            visible: prv_data.setting_check
            onResetClicked: prv_data.resetByDefault()
            onAcceptClicked: prv_data.saveData()
            onCancelClicked: prv_data.cancel()
        }
        SettingsHotKeyDelegate {
            id: hotKeyDelegate
            objectName: "hotKeyDelegate"
            anchors.fill: parent
            visible: prv_data.hotkey_check
            onResetClicked: prv_data.resetByDefault()
            onAcceptClicked: prv_data.saveData()
            onCancelClicked: prv_data.cancel()
        }
    }
}
