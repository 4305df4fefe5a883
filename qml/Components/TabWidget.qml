import QtQuick 2.12
import KuvoComponent 1.0

// Tabs over stacked pages. The pages are the children, each with a `title`; `current` is the
// index of the one shown.
Item {
    id: tabs

    property int current: 0
    default property alias pages: stack.data

    function showCurrent() {
        for (var i = 0; i < stack.children.length; ++i)
            stack.children[i].visible = i === current
    }

    onCurrentChanged: showCurrent()
    Component.onCompleted: showCurrent()

    Row {
        id: header
        width: parent.width
        height: 32
        Repeater {
            model: stack.children.length
            Item {
                width: header.width / Math.max(1, stack.children.length)
                height: header.height
                BorderImage {
                    anchors.fill: parent
                    border { left: 4; right: 4; top: 4; bottom: 4 }
                    source: index === tabs.current
                        ? "qrc:/images/images/Components/tab_select.png"
                        : "qrc:/images/images/Components/tab_unselect.png"
                }
                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    anchors.rightMargin: 6
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    text: stack.children[index].title || ""
                    color: index === tabs.current ? "#0096cd"
                                                  : settings.getValue("mainFontColor")
                    font.family: settings.getValue("mainFontFamily")
                    font.pixelSize: 13
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: tabs.current = index
                }
                CursorShapeArea {
                    anchors.fill: parent
                    cursorShape: Qt.PointingHandCursor
                }
            }
        }
    }
    Item {
        id: stack
        anchors { left: parent.left; right: parent.right; top: header.bottom
                  bottom: parent.bottom }
    }
}
