import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

// A finished panorama in place of the selection: scrolled by the wheel and the scroll bar,
// with a canvas of its own and a tool bar that marks up that canvas. What the view hands on
// is this canvas's picture.
Item {
    id: view

    property rect area
    // The selection's size label, which the notices keep clear of.
    property Item sizeLabel: null

    visible: surface.ponoram.ponoramDone

    Item {
        id: ponoramItem
        objectName: "ponoramItem"
        x: view.area.x
        y: view.area.y
        width: view.area.width
        height: Math.max(1, Math.min(view.area.height, surface.ponoram.ponoramSize.height))
        clip: true

        Flickable {
            id: edit_flick
            objectName: "edit_flick"
            anchors.fill: parent
            contentWidth: picture.width
            contentHeight: picture.height
            boundsBehavior: Flickable.StopAtBounds
            // Drags draw on the canvas; the wheel and the scroll bar move the panorama.
            interactive: false

            PictureItem {
                id: picture
                width: surface.ponoram.ponoramSize.width
                height: surface.ponoram.ponoramSize.height
                picture: surface.ponoram.ponoramPixmap
            }

            KPainterArea {
                id: paintArea
                objectName: "ponoramPaintArea"
                anchors.fill: picture
                selectRect: Qt.rect(0, 0, width, height)
            }
        }

        WheelArea {
            anchors.fill: parent
            onVerticalWheel: edit_flick.contentY = Math.max(0, Math.min(
                edit_flick.contentHeight - edit_flick.height, edit_flick.contentY - delta))
        }

        ScrollBar {
            id: verticalScrollBar
            objectName: "verticalScrollBar"
            flickable: edit_flick
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
        }
    }

    // Over the panorama's corner, after the selection's size label where the page has one;
    // where the screen has no room beside the label, under it.
    Rectangle {
        id: noticeBox
        objectName: "ponoramNotice"

        readonly property bool hasLabel: view.sizeLabel !== null && view.sizeLabel.visible
        readonly property int afterLabel: hasLabel ? view.sizeLabel.x + view.sizeLabel.width + 4
                                                   : ponoramItem.x
        readonly property bool fits: afterLabel + width <= view.width

        visible: surface.ponoram.isPonoramError || surface.ponoram.isPonoramFull
        x: fits ? afterLabel : Math.max(0, view.width - width)
        y: fits || !hasLabel ? Math.max(0, ponoramItem.y - height - 4)
                             : view.sizeLabel.y + view.sizeLabel.height + 4
        width: notice.implicitWidth + 12
        height: notice.implicitHeight + 6
        radius: 4
        color: "#b0000000"
        Text {
            id: notice
            anchors.centerIn: parent
            font.family: "Arial"
            font.pixelSize: 12
            color: "#ff5050"
            text: surface.ponoram.isPonoramFull
                  ? qsTr("The panorama has reached its greatest height and ends here")
                  : surface.ponoram.isPonoramBlank
                    ? qsTr("A blank stretch was too tall to measure; the panorama ends above it")
                    : qsTr("The document scrolled too far at once; the panorama ends here")
        }
    }

    // Inside this file paintArea is the panorama's canvas, so the bar marks up the panorama.
    // It stands under the panorama where there is room, else over it, else inside its lower
    // edge, right-aligned with it and never off the window.
    Loader {
        id: toolBar
        objectName: "ponoramToolBar"
        active: view.visible
        source: "qrc:/qml/qml/Components/ToolBar.qml"

        readonly property int gap: 6
        readonly property int below: ponoramItem.y + ponoramItem.height + gap
        readonly property int above: ponoramItem.y - height - gap

        x: Math.max(0, Math.min(ponoramItem.x + ponoramItem.width - width, view.width - width))
        y: below + height <= view.height ? below
           : above >= 0 ? above
           : Math.max(0, ponoramItem.y + ponoramItem.height - height - gap)

        onLoaded: item.area = Qt.binding(function() {
            return Qt.rect(-x, -y, view.width, view.height)
        })

        Connections {
            target: toolBar.item
            function onClickAccept() { surface.uploadScreen() }
        }
    }
}
