import QtQuick 2.12
import KuvoComponent 1.0

// The loupe beside the pointer of a selection item, placed inside its parent's bounds; it
// belongs below the selection item, where the windows look for it.
Item {
    id: magnifier
    objectName: "magnifier"

    property Item area
    property var picture

    width: 120
    height: 120
    x: area.gx + 24 + width > parent.width ? area.gx - 24 - width : area.gx + 24
    y: area.gy + 24 + height > parent.height ? area.gy - 24 - height : area.gy + 24

    function update() { magnifier_image.update() }

    Image {
        anchors.fill: parent
        source: "qrc:/component/image/component/magnifier_background.png"
    }

    MagnifierItem {
        id: magnifier_image
        objectName: "MagnifierItem"
        anchors.fill: parent
        anchors.margins: 6
        background: magnifier.picture
        gx: magnifier.area.gx
        gy: magnifier.area.gy
    }
}
