// A capture page reduced to the frozen picture, the selection over it and the loupe that
// follows the pointer while the selection is being chosen.
import QtQuick 2.12
import KuvoComponent 1.0

Item {
    id: root
    width: 400
    height: 300

    PictureItem {
        objectName: "screen"
        anchors.fill: parent
        smooth: false
        picture: screenPicture
        shade: selector.shadeColor
        brightRect: selector.brightRect
    }

    SurfaceSelector {
        id: selector
        anchors.fill: parent
        shaded: false
        onGxChanged: magnifier_image.update()
        onGyChanged: magnifier_image.update()

        Image {
            id: magnifier
            objectName: "magnifier"
            source: "qrc:/component/image/component/magnifier_background.png"
            // Beside the pointer, turned back inside the page near its right and bottom edges.
            x: selector.gx + 20 + width > root.width ? selector.gx - 20 - width : selector.gx + 20
            y: selector.gy + 20 + height > root.height ? selector.gy - 20 - height : selector.gy + 20
            visible: selector.firstDraw

            MagnifierItem {
                id: magnifier_image
                objectName: "MagnifierItem"
                x: 2
                y: 2
                width: 100
                height: 100
                background: screenPicture
                gx: selector.gx
                gy: selector.gy
            }
        }
    }
}
