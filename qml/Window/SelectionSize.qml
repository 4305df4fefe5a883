import QtQuick 2.12

// The size of a selection, over its top-left corner.
Rectangle {
    id: textSizeBackground
    objectName: "textSizeBackground"

    property Item area
    // A window that shows part of the selection tells the size of all of it.
    property int selectedWidth: Math.round(area.rubberRect.width)
    property int selectedHeight: Math.round(area.rubberRect.height)

    visible: area.rubberRect.width >= 1 && area.rubberRect.height >= 1
    x: area.rubberRectLeft
    y: Math.max(0, area.rubberRectTop - height - 4)
    width: textSize.width + 12
    height: textSize.height + 6
    radius: 4
    color: "#b0000000"

    Text {
        id: textSize
        objectName: "textSize"
        anchors.centerIn: parent
        font.family: "Arial"
        font.pixelSize: 12
        color: "white"
        text: textSizeBackground.selectedWidth + " \u00d7 " + textSizeBackground.selectedHeight
    }
}
