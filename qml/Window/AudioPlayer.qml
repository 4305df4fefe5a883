import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

// The picture of a ".kia" file with a play button for its spoken comment over it.
Window {
    id: page

    readonly property int pictureWidth: player.hasPicture ? player.pictureSize.width : 360
    readonly property int pictureHeight: player.hasPicture ? player.pictureSize.height : 200

    titleText: "Kuvo - " + qsTr("Audio comment") + core.emptyString
    windowWidth: Math.max(360, pictureWidth + 4)
    windowHeight: titleHeight + pictureHeight + 4
    focus: true
    Keys.onSpacePressed: toggle()
    // The window follows the picture of each opened file and stays centred.
    onWidthChanged: window.setWidth(width)
    onHeightChanged: window.setHeight(height)

    function toggle() {
        if (player.isPlay)
            player.stopAudio()
        else
            player.playAudio()
    }

    Image {
        id: picture
        objectName: "picture"
        anchors.centerIn: parent
        width: page.pictureWidth
        height: page.pictureHeight
        source: player.hasPicture ? "image://background/data" : ""
        // A copy of the size shown: the picture itself may take a gigabyte.
        sourceSize: Qt.size(page.pictureWidth, page.pictureHeight)
        cache: false
        fillMode: Image.PreserveAspectFit
    }

    Rectangle {
        objectName: "darkening"
        anchors.fill: picture
        color: "#000000"
        opacity: player.isPlay ? 0.1 : 0.35
    }

    Image {
        id: playIcon
        objectName: "playIcon"
        anchors.centerIn: picture
        source: "qrc:/image/image/component/play-icon.png"
        visible: player.hasSound
        opacity: player.isPlay ? 0.4 : 1.0

        MouseArea {
            objectName: "playArea"
            anchors.fill: parent
            onClicked: page.toggle()
        }
        CursorShapeArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
        }
    }

    Rectangle {
        objectName: "errorStrip"
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: errorText.height + 16
        color: "#e0d9534f"
        visible: player.errorText !== ""

        Text {
            id: errorText
            objectName: "errorText"
            anchors { left: parent.left; right: parent.right; verticalCenter: parent.verticalCenter
                      leftMargin: 12; rightMargin: 12 }
            text: player.errorText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: "#ffffff"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 13
        }
    }
}
