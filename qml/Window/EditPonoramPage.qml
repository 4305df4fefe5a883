// The picture editor window: a frame that drags the window, its close button, the picture on
// the capture view's canvas inside a scrolled and zoomed area, the zoom controls and the tool
// bar. Zooming scales the picture and its canvas together, so the shapes stay in the picture's
// own pixels and the output keeps the picture's size.
import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

Rectangle {
    id: root
    objectName: "root"
    color: "#00ffffff"
    focus: true

    readonly property int frame: 12
    // The clear ring around the body where its shadow falls; none where no compositing manager
    // shows it, or it would be a black frame.
    readonly property int margin: window.isTransparentSupport ? frame : 0
    // The tool bar stands in the title row; its drop-down panel pushes the picture down.
    readonly property int titleHeight: toolBar.y + Math.max(36, toolBar.height) + 6
    readonly property int bottomHeight: 32
    readonly property int chromeWidth: 2 * margin
    readonly property int chromeHeight: 2 * margin + titleHeight + bottomHeight
    readonly property real zoom: zoom_slider.value / 100
    // The zoom the picture opened at. The window keeps the size it took for it while the picture
    // zooms inside: a window that shrank with each click would leave the zoom buttons behind,
    // and the next click would go to the desktop.
    property real openingZoom: 1

    // Wide enough for the tool bar and the zoom controls, never wider than the screen.
    width: Math.min(window.maxWidth,
                    Math.max(toolBar.width + zoomRow.width + 3 * frame + chromeWidth,
                             prv_data.original_image_width * openingZoom + chromeWidth + 10))
    height: Math.max(240, Math.min(window.maxHeight - 80, prv_data.original_image_height
                                                          * openingZoom + chromeHeight + 10))

    QtObject {
        id: prv_data
        property int original_image_width: window.pictureSize.width
        property int original_image_height: window.pictureSize.height
    }

    ShadowRectangle {
        anchors.fill: body
        visible: window.isTransparentSupport
    }

    Rectangle {
        id: body
        anchors.fill: parent
        anchors.margins: root.margin
        radius: root.margin > 0 ? 4 : 0
        color: "#2e353b"

        MouseArea {
            id: moveMouse
            objectName: "moveMouse"
            anchors.left: parent.left
            anchors.right: parent.right
            height: root.titleHeight
            property int startX: 0
            property int startY: 0
            onPressed: {
                startX = mouse.x
                startY = mouse.y
            }
            onPositionChanged: window.move(window.x + mouse.x - startX, window.y + mouse.y - startY)
        }

        Rectangle {
            id: close_button
            objectName: "close_button"
            anchors.right: parent.right
            anchors.top: parent.top
            width: 32
            height: 32
            radius: 4
            color: closeArea.containsMouse ? "#363d43" : "#2e353b"
            Image {
                anchors.centerIn: parent
                source: "qrc:/component/image/component/close_edit_ponoram.png"
            }
            CursorShapeArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
            }
            MouseArea {
                id: closeArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: window.close()
            }
        }

        Item {
            id: content
            anchors.fill: parent
            anchors.topMargin: root.titleHeight
            anchors.bottomMargin: root.bottomHeight
            clip: true

            Rectangle {
                anchors.fill: parent
                gradient: Gradient {
                    GradientStop { position: 0.0; color: "#1c2227" }
                    GradientStop { position: 1.0; color: "#262d33" }
                }
            }

            Item {
                id: paint_item
                objectName: "paint_item"
                anchors.fill: parent
                anchors.margins: 5

                Flickable {
                    id: edit_flick
                    objectName: "edit_flick"
                    anchors.fill: parent
                    contentWidth: prv_data.original_image_width * root.zoom
                    contentHeight: prv_data.original_image_height * root.zoom
                    boundsBehavior: Flickable.StopAtBounds
                    // Drags draw on the canvas; the wheel and the scroll bars move the picture.
                    interactive: false

                    Item {
                        objectName: "zoomed"
                        // A picture smaller than the area stands in its middle.
                        x: Math.max(0, (edit_flick.width - edit_flick.contentWidth) / 2)
                        y: Math.max(0, (edit_flick.height - edit_flick.contentHeight) / 2)
                        width: prv_data.original_image_width
                        height: prv_data.original_image_height
                        scale: root.zoom
                        transformOrigin: Item.TopLeft

                        PictureItem {
                            id: backgroundImage
                            objectName: "backgroundImage"
                            anchors.fill: parent
                            smooth: true
                            picture: window.background
                        }

                        KPainterArea {
                            id: paintArea
                            objectName: "paintArea"
                            anchors.fill: parent
                            // Shapes beyond the picture are no part of it, on the screen either.
                            clip: true
                            selectRect: Qt.rect(0, 0, width, height)
                            viewScale: root.zoom
                        }
                    }
                }

                WheelArea {
                    anchors.fill: parent
                    onVerticalWheel: edit_flick.contentY = Math.max(0, Math.min(
                        edit_flick.contentHeight - edit_flick.height, edit_flick.contentY - delta))
                    onHorizontalWheel: edit_flick.contentX = Math.max(0, Math.min(
                        edit_flick.contentWidth - edit_flick.width, edit_flick.contentX - delta))
                }

                ScrollBar {
                    id: verticalScrollBar
                    objectName: "verticalScrollBar"
                    flickable: edit_flick
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 8
                }

                ScrollBar {
                    id: horizontalScrollBar
                    objectName: "horizontalScrollBar"
                    flickable: edit_flick
                    orientation: Qt.Horizontal
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    anchors.rightMargin: 8
                }
            }
        }

        Loader {
            id: toolBar
            objectName: "toolBar"
            source: "qrc:/qml/qml/Components/ToolBar.qml"
            x: root.frame
            y: 6
            z: 1
            onLoaded: {
                item.enableMove = false
                item.toolTip = surfaceToolTip
                item.area = Qt.binding(function() {
                    return Qt.rect(-x, -y, body.width, body.height)
                })
            }

            Connections {
                target: toolBar.item
                function onClickAccept() { window.uploadScreen() }
            }
        }

        Row {
            id: zoomRow
            anchors.right: parent.right
            anchors.rightMargin: root.frame
            anchors.bottom: parent.bottom
            anchors.bottomMargin: (root.bottomHeight - height) / 2
            spacing: 6

            ZoomButton {
                objectName: "zoomOut"
                icon: "qrc:/icon/image/icon/zoom_out.png"
                onClicked: zoom_slider.step(-1)
            }
            Slider {
                id: zoom_slider
                objectName: "zoom_slider"
                anchors.verticalCenter: parent.verticalCenter
                minimum: 25
                maximum: 163
                value: 100
                function step(direction) {
                    value = Math.max(minimum, Math.min(maximum, value + direction * 25))
                }
            }
            ZoomButton {
                objectName: "zoomIn"
                icon: "qrc:/icon/image/icon/zoom_in.png"
                onClicked: zoom_slider.step(1)
            }
            Text {
                objectName: "zoomText"
                anchors.verticalCenter: parent.verticalCenter
                width: 40
                font.family: "Arial"
                font.pixelSize: 12
                color: "#c8cdd1"
                text: zoom_slider.value + "%"
            }
        }
    }

    // Over the tool bar and its panel, inside the window.
    ToolTip {
        id: surfaceToolTip
        objectName: "surfaceToolTip"
    }

    // A picture larger than the screen opens zoomed out until it fits, never below 25 %.
    function fitZoom() {
        var w = prv_data.original_image_width
        var h = prv_data.original_image_height
        if (w < 1 || h < 1)
            return
        var fit = Math.min(100, (window.maxWidth - chromeWidth - 10) * 100 / w,
                           (window.maxHeight - 80 - chromeHeight - 10) * 100 / h)
        zoom_slider.value = Math.max(zoom_slider.minimum, Math.floor(fit))
        openingZoom = zoom
    }

    Connections {
        target: window
        function onBackgroundChange() { root.fitZoom() }
    }

    Component.onCompleted: {
        root.fitZoom()
        root.forceActiveFocus()
    }
}
