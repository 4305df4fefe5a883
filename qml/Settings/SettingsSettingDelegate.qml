import QtQuick 2.12
import "../Components"

// The general options. The controls show values; save() stores them and load() shows the
// stored ones again. Only the folder of the extra copies is stored at once, by the
// controller's folder question, and the page follows it.
Item {
    id: delegate

    property int quality: 1
    property string language: "en"
    property string saveFolder: ""

    signal resetClicked()
    signal acceptClicked()
    signal cancelClicked()

    // The store holds flags as 0/1, "0"/"1" or false/true, depending on who wrote them.
    function flag(key) {
        var value = settings.getValue(key)
        return value === true || value === 1 || value === "1" || value === "true"
    }

    function storedLanguage() {
        return settings.getValue("language") === "ru" ? "ru" : "en"
    }

    function storedFolder() {
        var folder = settings.getValue("saveScreenFolder")
        return folder === undefined || folder === null || folder === "0" ? "" : String(folder)
    }

    // The buttons turn themselves on when clicked, so they are set from the choice, not bound.
    onQualityChanged: showChoices()
    onLanguageChanged: showChoices()

    function showChoices() {
        rbLow.check = quality === 0
        rbAverage.check = quality === 1
        rbHigh.check = quality !== 0 && quality !== 1
        lanRussian.check = language === "ru"
        lanEnglish.check = language === "en"
    }

    function load() {
        quality = Number(settings.getValue("qualityImage"))
        language = storedLanguage()
        saveFolder = storedFolder()
        chbAutostart.check = flag("autostart")
        chbUseProxy.check = flag("useProxy")
        chbUseSaveScreen.check = flag("useSaveScreen") && saveFolder !== ""
        chbProccessLoad.check = flag("show_upload")
        chbLoadShowWindow.check = flag("show_last_upload")
        chbShowActiveWindow.check = flag("showActiveWindow")
        chbShortLink.check = flag("shortLink")
        chbShowMagnifier.check = flag("showMagnifier")
        chbShowCloseSurfaceWindow.check = flag("showCloseSurfaceWindow")
        showChoices()
    }

    function save() {
        settings.setValue("qualityImage", quality)
        settings.setValue("autostart", chbAutostart.check ? 1 : 0)
        settings.setValue("useProxy", chbUseProxy.check ? 1 : 0)
        settings.setValue("useSaveScreen", chbUseSaveScreen.check ? 1 : 0)
        settings.setValue("show_upload", chbProccessLoad.check ? 1 : 0)
        settings.setValue("show_last_upload", chbLoadShowWindow.check ? 1 : 0)
        settings.setValue("showActiveWindow", chbShowActiveWindow.check ? 1 : 0)
        settings.setValue("shortLink", chbShortLink.check ? 1 : 0)
        settings.setValue("showMagnifier", chbShowMagnifier.check ? 1 : 0)
        settings.setValue("showCloseSurfaceWindow", chbShowCloseSurfaceWindow.check ? 1 : 0)
        // Through the property, which also switches the translation; only on a change, so an
        // untouched choice leaves the language to follow the system.
        if (language !== storedLanguage())
            settings.language = language
    }

    Component.onCompleted: load()

    Connections {
        target: core
        function onCloseProxyWindow() {
            var host = settings.getValue("proxy_host")
            if (host === undefined || host === null || String(host) === "") {
                console.debug("proxy host set false ")
                chbUseProxy.check = false
            }
        }
    }
    Connections {
        target: settings
        function onValueChanged(name, value) {
            if (name !== "saveScreenFolder" && name !== "useSaveScreen")
                return
            delegate.saveFolder = delegate.storedFolder()
            chbUseSaveScreen.check = delegate.flag("useSaveScreen") && delegate.saveFolder !== ""
        }
    }

    Column {
        id: options
        anchors { left: parent.left; right: parent.right; top: parent.top }
        spacing: 7

        SettingsHeading {
            text: qsTr("Image quality") + core.emptyString
        }
        Row {
            // The tool tips of the buttons open over the options below.
            z: 1
            spacing: 28
            QualityButton {
                id: rbLow
                objectName: "rbLow"
                textCheck: qsTr("Low") + core.emptyString
                toolTip: qsTr("JPEG of quality 90: the smallest files") + core.emptyString
                onClick: delegate.quality = 0
            }
            QualityButton {
                id: rbAverage
                objectName: "rbAverage"
                textCheck: qsTr("Average") + core.emptyString
                toolTip: qsTr("JPEG of quality 100") + core.emptyString
                onClick: delegate.quality = 1
            }
            QualityButton {
                id: rbHigh
                objectName: "rbHigh"
                textCheck: qsTr("High") + core.emptyString
                toolTip: qsTr("PNG: every pixel as it was, the largest files") + core.emptyString
                onClick: delegate.quality = 2
            }
        }
        Item { width: 1; height: 4 }
        SettingsHeading {
            text: qsTr("Additionally") + core.emptyString
        }
        CheckBox {
            id: chbAutostart
            objectName: "chbAutostart"
            width: options.width
            textCheck: qsTr("Run application on system boot") + core.emptyString
        }
        CheckBox {
            id: chbUseProxy
            objectName: "chbUseProxy"
            width: options.width
            textCheck: qsTr("Use proxy") + core.emptyString
            onClick: {
                if (check)
                    core.showProxyWidget()
            }
        }
        CheckBox {
            id: chbUseSaveScreen
            objectName: "chbUseSaveScreen"
            width: options.width
            textCheck: qsTr("Save screen copy to select folder") + core.emptyString
            // A copy needs a folder: checking the box without one asks for it first.
            onClick: {
                if (check && delegate.saveFolder === "")
                    core.selectSaveScreenFolder()
            }
        }
        Row {
            x: 24
            spacing: 10
            visible: chbUseSaveScreen.check
            Text {
                id: textPath
                objectName: "textPath"
                width: Math.min(implicitWidth, options.width - 24 - 10 - changeFolder.width)
                anchors.verticalCenter: parent.verticalCenter
                text: delegate.saveFolder.replace(/\\/g, "/")
                elide: Text.ElideMiddle
                color: "#636567"
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 12
            }
            Link {
                id: changeFolder
                objectName: "changeFolder"
                titleText: qsTr("Change") + core.emptyString
                onClick: core.selectSaveScreenFolder()
            }
        }
        CheckBox {
            id: chbProccessLoad
            objectName: "chbProccessLoad"
            width: options.width
            textCheck: qsTr("Show upload process to server") + core.emptyString
        }
        CheckBox {
            id: chbLoadShowWindow
            objectName: "chbLoadShowWindow"
            width: options.width
            textCheck: qsTr("Show information window after download") + core.emptyString
        }
        CheckBox {
            id: chbShowActiveWindow
            objectName: "chbShowActiveWindow"
            width: options.width
            textCheck: qsTr("Use in the screenshot name title of the active window")
                       + core.emptyString
        }
        CheckBox {
            id: chbShortLink
            objectName: "chbShortLink"
            width: options.width
            textCheck: qsTr("Receive a direct link to a screenshot or a file") + core.emptyString
        }
        CheckBox {
            id: chbShowMagnifier
            objectName: "chbShowMagnifier"
            width: options.width
            textCheck: qsTr("Show magnifier at the select rect") + core.emptyString
        }
        CheckBox {
            id: chbShowCloseSurfaceWindow
            objectName: "chbShowCloseSurfaceWindow"
            width: options.width
            textCheck: qsTr("Prevent the closure of the window screenshot") + core.emptyString
        }
        Item { width: 1; height: 4 }
        SettingsHeading {
            text: qsTr("Language") + core.emptyString
        }
        Row {
            spacing: 28
            RadioButton {
                id: lanRussian
                objectName: "lanRussian"
                textCheck: "Русский"
                onClick: delegate.language = "ru"
            }
            RadioButton {
                id: lanEnglish
                objectName: "lanEnglish"
                textCheck: "English"
                onClick: delegate.language = "en"
            }
        }
    }

    SettingsButtons {
        prefix: "setting"
        anchors { right: parent.right; bottom: parent.bottom }
        onResetClicked: delegate.resetClicked()
        onAcceptClicked: delegate.acceptClicked()
        onCancelClicked: delegate.cancelClicked()
    }
}
