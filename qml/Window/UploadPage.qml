import QtQuick 2.12
import "../Components"
import "../useful.js" as Fn

// The running uploads with their progress. The window grows upwards with the list, from its
// corner of the screen.
Window {
    id: page

    readonly property int rowHeight: 50

    titleText: "Kuvo - " + qsTr("Upload") + core.emptyString
    windowWidth: 380
    windowHeight: titleHeight + 24 + Math.max(1, uploads.count) * rowHeight + 92
    onHeightChanged: window.setHeight(height)

    ListView {
        id: uploads
        objectName: "uploads"
        anchors { left: parent.left; right: parent.right; top: parent.top
                  leftMargin: 18; rightMargin: 18; topMargin: 14 }
        height: Math.max(1, count) * page.rowHeight
        interactive: false
        model: core.uploadModel()

        delegate: Item {
            width: uploads.width
            height: page.rowHeight

            Text {
                id: stateText
                anchors { left: parent.left; top: parent.top; topMargin: 6 }
                text: (archive ? qsTr("Archive...") : qsTr("Upload...")) + core.emptyString
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 13
                font.bold: true
            }
            Text {
                anchors { left: stateText.right; right: amount.left; baseline: stateText.baseline
                          leftMargin: 6; rightMargin: 8 }
                text: uploader ? uploader.fileName : ""
                elide: Text.ElideMiddle
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 13
            }
            Text {
                id: amount
                anchors { right: parent.right; baseline: stateText.baseline }
                visible: total > 0
                text: Fn.sizeToString(download) + " / " + Fn.sizeToString(total)
                color: "#7d868c"
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 12
            }
            ProgressBar {
                anchors { left: parent.left; right: parent.right; top: stateText.bottom
                          topMargin: 8 }
                maximum: total
                value: download
            }
        }
    }
    Text {
        id: note
        anchors { left: parent.left; right: parent.right; top: uploads.bottom
                  leftMargin: 18; rightMargin: 18; topMargin: 8 }
        text: qsTr("Link already in the clipboard") + core.emptyString
        elide: Text.ElideRight
        color: "#3c8d3f"
        font.family: settings.getValue("mainFontFamily")
        font.pixelSize: 13
    }
    CheckBox {
        id: doNotShow
        objectName: "doNotShow"
        anchors { left: parent.left; leftMargin: 18; verticalCenter: cancel.verticalCenter }
        width: cancel.x - x - 12
        textCheck: qsTr("Do not show this window") + core.emptyString
        check: !settings.showUpload
        onClick: settings.showUpload = !check
    }
    PushButton {
        id: cancel
        objectName: "cancelButton"
        anchors { right: parent.right; bottom: parent.bottom; margins: 18 }
        titleText: qsTr("Cancel") + core.emptyString
        onClick: core.cancelUpload()
    }
}
