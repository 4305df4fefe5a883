// The canvas with the editor's tool bar over it, the way a capture page places them. The bar
// is loaded once the test has named its context objects, as the capture view does.
import QtQuick 2.12
import KuvoComponent 1.0

Item {
    width: 640
    height: 480

    Rectangle {
        anchors.fill: parent
        color: "#d8dde2"
    }

    KPainterArea {
        objectName: "KPainterArea"
        anchors.fill: parent
    }

    Loader {
        objectName: "barLoader"
        x: 10
        y: 10
        active: false
        source: "qrc:/qml/qml/Components/ToolBar.qml"
    }
}
