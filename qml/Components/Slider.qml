import QtQuick 2.12

// A horizontal slider of whole numbers that reports every step while dragged and the finished
// change once, with the value it started from, so that one drag makes one undo step.
Item {
    id: slider

    property int minimum: 0
    property int maximum: 100
    property int value: 0
    property int startValue: 0

    signal valueChange(int value)
    signal valueChangeComplete(int value, int oldValue)

    width: 120
    height: 20

    function valueAt(x) {
        var ratio = Math.max(0, Math.min(1, (x - handle.width / 2) / (width - handle.width)))
        return Math.round(minimum + ratio * (maximum - minimum))
    }

    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        height: 4
        radius: 2
        color: "#4c4f50"
    }
    Rectangle {
        id: handle
        objectName: "handle"
        width: 12
        height: 12
        radius: 6
        anchors.verticalCenter: parent.verticalCenter
        x: (slider.width - width) * (slider.value - slider.minimum)
           / Math.max(1, slider.maximum - slider.minimum)
        color: mouse.pressed ? "#4ca8db" : "#cfcece"
    }
    MouseArea {
        id: mouse
        anchors.fill: parent
        onPressed: {
            slider.startValue = slider.value
            slider.move(mouse.x)
        }
        onPositionChanged: slider.move(mouse.x)
        onReleased: {
            if (slider.value !== slider.startValue)
                slider.valueChangeComplete(slider.value, slider.startValue)
        }
    }

    function move(x) {
        var next = valueAt(x)
        if (next === value)
            return
        value = next
        valueChange(next)
    }
}
