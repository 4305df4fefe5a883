// A capture page reduced to what the editor needs: the frozen picture, the canvas over it and
// the selection item above both, with the loupe that follows the pointer while selecting.
import QtQuick 2.12
import KuvoComponent 1.0

Item {
    width: 400
    height: 300

    Image {
        anchors.fill: parent
        source: "image://screen/data"
        cache: false
        smooth: false
    }

    KPainterArea {
        objectName: "KPainterArea"
        anchors.fill: parent
    }

    SurfaceSelector {
        id: selector
        anchors.fill: parent
        onGxChanged: loupe.update()
        onGyChanged: loupe.update()

        MagnifierItem {
            id: loupe
            objectName: "MagnifierItem"
            x: selector.gx + 20
            y: selector.gy + 20
            width: 100
            height: 100
            visible: selector.firstDraw
            background: picture
            gx: selector.gx
            gy: selector.gy
        }
    }
}
