import QtQuick 2.12

// A progress bar from minimum to maximum; values outside stay at the ends.
Item {
    id: bar

    property real minimum: 0
    property real maximum: 100
    property real value: 0
    readonly property real ratio: maximum > minimum
        ? Math.max(0, Math.min(1, (value - minimum) / (maximum - minimum))) : 0

    implicitWidth: 200
    implicitHeight: 8

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        border.color: "#c4c7cc"
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#ddddde" }
            GradientStop { position: 0.5; color: "#e9eaec" }
            GradientStop { position: 1.0; color: "#cbced5" }
        }
    }
    Rectangle {
        width: Math.max(height, bar.width * bar.ratio)
        height: parent.height
        radius: height / 2
        visible: bar.ratio > 0
        gradient: Gradient {
            GradientStop { position: 0.0; color: "#87c3e5" }
            GradientStop { position: 0.5; color: "#3db4ef" }
            GradientStop { position: 1.0; color: "#73c7f2" }
        }
    }
}
