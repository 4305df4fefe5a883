import QtQuick 2.12

// The outputs of the accept button. Each item asks the capture view for its action; the view
// ignores them while nothing is selected.
Rectangle {
    id: menu

    property bool isMac: false
    property bool showMail: false
    // What the window's share keys hold besides Control: Shift in the capture view, Alt in
    // the picture editor.
    property int shareModifier: Qt.ShiftModifier

    signal chosen(string action)

    width: 230
    height: column.height + 8
    radius: 4
    color: "#2b2e30"
    border.color: "#141517"

    function key(other, mac) { return isMac ? mac : other }
    function shareKey(letter) {
        var alt = shareModifier === Qt.AltModifier
        return key((alt ? "Ctrl+Alt+" : "Ctrl+Shift+") + letter, (alt ? "⌘⌥" : "⌘⇧") + letter)
    }

    Column {
        id: column
        y: 4
        width: parent.width
        ToolBarMenuItem {
            objectName: "accept"
            text: qsTr("Public")
            shortcut: menu.key("Ctrl+Enter", "⌘Enter")
            onTriggered: menu.chosen("uploadScreen")
        }
        ToolBarMenuItem {
            objectName: "save"
            text: qsTr("Save")
            shortcut: menu.key("Ctrl+S", "⌘S")
            onTriggered: menu.chosen("saveScreen")
        }
        ToolBarMenuItem {
            objectName: "copy"
            text: qsTr("Copy")
            shortcut: menu.key("Ctrl+C", "⌘C")
            onTriggered: menu.chosen("screenSaveToClipboard")
        }
        Rectangle {
            width: parent.width - 16
            x: 8
            height: 1
            color: "#4c4f50"
        }
        ToolBarMenuItem {
            objectName: "postVk"
            text: qsTr("Vkontakte")
            shortcut: menu.shareKey("V")
            icon: "qrc:/icon/image/icon/menu_icon_vk.png"
            onTriggered: menu.chosen("screenPostVK")
        }
        ToolBarMenuItem {
            objectName: "postOd"
            text: qsTr("Odnoklassniki")
            shortcut: menu.shareKey("O")
            icon: "qrc:/icon/image/icon/menu_icon_od.png"
            onTriggered: menu.chosen("screenPostOdnoklassniki")
        }
        ToolBarMenuItem {
            objectName: "postFb"
            text: qsTr("Facebook")
            shortcut: menu.shareKey("F")
            icon: "qrc:/icon/image/icon/menu_icon_fb.png"
            onTriggered: menu.chosen("screenPostFacebook")
        }
        ToolBarMenuItem {
            objectName: "postTw"
            text: qsTr("Twitter")
            shortcut: menu.shareKey("T")
            icon: "qrc:/icon/image/icon/menu_icon_tw.png"
            onTriggered: menu.chosen("screenPostTwitter")
        }
        ToolBarMenuItem {
            objectName: "postMail"
            visible: menu.showMail
            text: qsTr("E-mail")
            shortcut: menu.shareKey("E")
            icon: "qrc:/icon/image/icon/menu_icon_mail.png"
            onTriggered: menu.chosen("screenPostMail")
        }
    }
}
