import QtQuick 2.12
import KuvoComponent 1.0

// Dots for pages: `count` of them, `index` the active one; a click on a dot says click(i).
// It hides itself unless `shown` (by default: more than one page).
Row {
    id: paginator

    property int count: 0
    property int index: 0
    property bool shown: count > 1

    signal click(int index)

    visible: shown
    spacing: 6

    Repeater {
        model: paginator.count
        Image {
            source: index === paginator.index
                ? "qrc:/component/image/component/paginator_active.png"
                : "qrc:/component/image/component/paginator_unactive.png"
            MouseArea {
                anchors.fill: parent
                anchors.margins: -3
                onClicked: paginator.click(index)
            }
            CursorShapeArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
            }
        }
    }
}
