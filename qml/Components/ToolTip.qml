import QtQuick 2.12

// The tool tip of a page: a bold title with its keys under it, near the pointer and over
// everything else on the page, the tool bar and its panels included. It stays inside the area
// that areaAt gives for the pointer (the screen under it), over the pointer where there is
// room, under it where there is not.
Rectangle {
    id: tip

    // A function of a point that gives the area the tip must keep inside; the page by default.
    property var areaAt: function(x, y) { return Qt.rect(0, 0, parent.width, parent.height) }
    readonly property int margin: 4

    visible: false
    z: 1000
    width: label.implicitWidth + 16
    height: label.implicitHeight + 10
    radius: 3
    color: "#2b2e30"
    border.color: "#141517"

    // x and y: the pointer, in the coordinates of the tip's parent.
    function show(title, subText, x, y) {
        // Styled text breaks lines only at a tag.
        label.text = title + (subText === "" ? "" : "<br>" + subText.replace(/\n/g, "<br>"))
        var area = areaAt(x, y)
        tip.x = Math.max(area.x + margin, Math.min(x - width / 2, area.x + area.width - width - margin))
        var over = y - height - 8
        // Under the pointer the tip leaves room for the cursor itself.
        tip.y = over >= area.y + margin ? over
                                        : Math.min(y + 24, area.y + area.height - height - margin)
        visible = true
    }

    function hide() {
        visible = false
    }

    Text {
        id: label
        x: 8
        y: 5
        textFormat: Text.StyledText
        color: "#cfcece"
        font.family: "Arial"
        font.pixelSize: 12
    }
}
