import QtQuick 2.12
import KuvoComponent 1.0

// The frame of every window page: a soft shadow, the paper, and a title strip with the logo,
// the title and the close button. The drag band of the window (31..59 px from its top edge)
// lies over the title row.
Item {
    id: frame

    property string titleText: ""
    property string iconSource: "qrc:/icon/image/icon/main_ico.png"
    property bool iconVisible: true
    property bool titleVisible: true
    property int windowWidth: 360
    property int windowHeight: 240
    // The room of the shadow on every side of the panel; none where no compositing manager
    // could show it, or it would be a black frame.
    readonly property int shadowSize: window.isTransparentSupport ? 10 : 0
    readonly property int titleHeight: 50
    readonly property bool macLayout: core.getPlatform() === "Mac"
    default property alias content: body.data

    signal closed()

    width: windowWidth + 2 * shadowSize
    height: windowHeight + 2 * shadowSize

    ShadowRectangle {
        anchors.fill: panel
        depth: frame.shadowSize
        visible: window.isTransparentSupport
    }

    Rectangle {
        id: panel
        x: frame.shadowSize
        y: frame.shadowSize
        width: frame.windowWidth
        height: frame.windowHeight
        radius: 6
        color: "#f6f7f9"
        border.color: "#c3c7cb"

        Image {
            anchors.fill: parent
            anchors.margins: 2
            source: "qrc:/image/image/image/background.png"
            fillMode: Image.Tile
        }

        Rectangle {
            id: strip
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 2 }
            height: frame.titleHeight - 2
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#00dad8d8" }
                GradientStop { position: 0.5; color: "#aadad8d8" }
                GradientStop { position: 1.0; color: "#ffdad8d8" }
            }
            Rectangle {
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
                height: 1
                color: "#c9c7c7"
            }
        }

        Image {
            id: logo
            x: frame.macLayout ? 40 : 14
            anchors.verticalCenter: parent.top
            anchors.verticalCenterOffset: 35
            source: frame.iconSource
            visible: frame.iconVisible

            MouseArea {
                anchors.fill: parent
                onClicked: core.openUrl("https://" + core.hostUrlAuth())
            }
            CursorShapeArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
            }
        }

        Text {
            anchors.left: logo.visible ? logo.right : parent.left
            anchors.leftMargin: logo.visible ? 10 : 16
            anchors.right: frame.macLayout ? parent.right : closeButton.left
            anchors.rightMargin: 10
            anchors.verticalCenter: logo.verticalCenter
            visible: frame.titleVisible
            text: frame.titleText
            elide: Text.ElideRight
            color: "#4c555a"
            style: Text.Raised
            styleColor: "#ffffff"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 15
            font.bold: true
        }

        ControllButton {
            id: closeButton
            objectName: "closeButton"
            type: "close"
            x: frame.macLayout ? 14 : panel.width - width - 14
            anchors.verticalCenter: logo.verticalCenter
            onClick: {
                frame.closed()
                window.close()
            }
        }

        Item {
            id: body
            anchors { left: parent.left; right: parent.right; top: strip.bottom;
                      bottom: parent.bottom; margins: 2 }
        }
    }
}
