import QtQuick 2.12

// Turns while it is visible: something is on its way.
Image {
    id: busy

    source: "qrc:/images/images/busy.png"

    RotationAnimation on rotation {
        from: 0
        to: 360
        duration: 900
        loops: Animation.Infinite
        running: busy.visible
    }
}
