import QtQuick 2.12
import KuvoComponent 1.0

// The editor's tool bar: drawing tools, the drop-down panel with undo, redo, colour, width and
// substrate, and the accept button with its output menu. It talks to the context objects
// paintArea (the canvas), surface (the capture view and its outputs), settings and core.
Item {
    id: root

    property bool press: false
    property bool showMenu: false
    property string selectItem: ""
    property bool enableMove: true
    property bool moved: false
    property bool showDropPanel: root.flag(settings.visibleColorPanel)
    // The page's tool tip (its surfaceToolTip); without one the bar shows no tips.
    property var toolTip: null
    // What the bar, its menu and its drag keep inside (the screen under the bar), in the
    // coordinates of the bar's parent; without one they go where they are put.
    property var area: null

    // The context objects, or null on a page that has none (the bar then only shows itself).
    readonly property var canvas: typeof paintArea !== "undefined" ? paintArea : null
    readonly property var view: typeof surface !== "undefined" ? surface : null

    // Adding a tool to the bar is one entry here, once the canvas knows a module of that name.
    // A tool that Control fills names a commandIcon, shown while Control is held.
    readonly property var tools: [
        { name: "Move", icon: "tool_move", title: qsTr("<b>Tool Move and transform</b>"),
          subText: qsTr("Space - Switching to tool \"Move\"") },
        { name: "Pen", icon: "tool_pen", title: qsTr("<b>Tool Pen</b>"),
          subText: qsTr("+ Shift - Drawing a straight line") },
        { name: "Marker", icon: "tool_marker", title: qsTr("<b>Tool Marker</b>"),
          subText: qsTr("+ Shift - Drawing a straight line") },
        { name: "Line", icon: "tool_line", title: qsTr("<b>Tool Line</b>"),
          subText: qsTr("+ Shift - drawing a straight line at angles of 45°.") },
        { name: "Arrow", icon: "tool_arrow", title: qsTr("<b>Tool Arrow</b>"),
          subText: qsTr("+ Shift - drawing arrows at angles of 45°.") },
        { name: "Text", icon: "tool_text", title: qsTr("<b>Tool Text</b>"),
          subText: qsTr("When you move the mouse while pressing the pre-draws an arrow pointing to the location.") },
        { name: "Ellipse", icon: "tool_circle", commandIcon: "tool_circle_command",
          title: qsTr("<b>Tool Ellipse</b>"),
          subText: qsTr("+ Shift - draw circle.\n+ Ctrl - draws a filled.") },
        { name: "Rect", icon: "tool_rect", commandIcon: "tool_rect_command",
          title: qsTr("<b>Tool Rectangle</b>"),
          subText: qsTr("+ Shift - draw square.\n+ Ctrl - draws a filled.") },
        { name: "Counter", icon: "tool_counter", title: qsTr("<b>Tool Counter</b>"), subText: "" },
        { name: "Blur", icon: "tool_blur", title: qsTr("<b>Tool Blur</b>"), subText: "" },
        { name: "Blackout", icon: "tool_blackout", title: qsTr("<b>Tool Blackout</b>"),
          subText: "" }
    ]

    signal toolClick(string name, bool check)
    signal clickAccept()
    signal changeColorLineX(int value)
    signal changeColorLineXEnd(int value, int oldValue)
    signal changeWidthLineValue(int value)
    signal changeWidthLineValueEnd(int value, int oldValue)

    width: bar.width
    height: bar.height + (showDropPanel ? dropPanel.height : 0)

    function setCurrentModule(name) {
        selectItem = name
    }

    function toolButtonTriggered(name, check) {
        if (check) {
            selectItem = name
            if (canvas)
                canvas.setCurrentModule(name)
        }
        toolClick(name, check)
    }

    // The store hands the flag back as a number, a text or a bool, depending on who wrote it.
    function flag(value) {
        return value === true || Number(value) === 1
    }

    function toggleDropPanel() {
        showDropPanel = !showDropPanel
        settings.visibleColorPanel = showDropPanel ? 1 : 0
    }

    function hideMenu() {
        showMenu = false
    }

    function setColorLineX(x) {
        selectedColor.x = colorLine.x + x - selectedColor.width / 2
    }

    // x and y: the pointer, in the coordinates of item.
    function showToolTip(item, title, subText, x, y) {
        if (!toolTip)
            return
        var at = item.mapToItem(toolTip.parent, x, y)
        toolTip.show(title, subText, at.x, at.y)
    }

    function hideToolTip() {
        if (toolTip)
            toolTip.hide()
    }

    function runOutput(action) {
        hideMenu()
        if (view)
            view[action]()
    }

    // The copy of the selection takes the bar off the screen first; a view that stays open
    // after the copy shows it again.
    visible: !copyPause.running
    Timer {
        id: copyPause
        // Longer than the view waits before it copies.
        interval: 400
    }
    Connections {
        target: root.view
        ignoreUnknownSignals: true
        function onHideToolBar() {
            root.hideToolTip()
            copyPause.restart()
        }
    }

    Connections {
        target: root.canvas
        function onCurrentModuleChanged(name) { root.selectItem = name }
        function onCurrentColorXChanged(value) { root.setColorLineX(value) }
    }
    Component.onCompleted: {
        if (!canvas)
            return
        selectItem = canvas.currentModule
        setColorLineX(canvas.currentColorX)
    }

    Row {
        id: bar
        spacing: 2

        BorderImage {
            id: leftPanel
            objectName: "leftPanel"
            source: "qrc:/image/image/image/tool_background.png"
            border { left: 6; right: 6; top: 6; bottom: 6 }
            width: tools.width + 16
            height: 44

            Row {
                id: tools
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4

                Image {
                    objectName: "moveHandle"
                    anchors.verticalCenter: parent.verticalCenter
                    source: "qrc:/image/image/image/tool_move.png"
                    MouseArea {
                        anchors.fill: parent
                        enabled: root.enableMove
                        cursorShape: pressed ? Qt.ClosedHandCursor : Qt.OpenHandCursor
                        drag.target: root
                        drag.axis: Drag.XAndYAxis
                        drag.minimumX: root.area ? root.area.x : -Number.MAX_VALUE
                        drag.minimumY: root.area ? root.area.y : -Number.MAX_VALUE
                        drag.maximumX: root.area ? root.area.x + root.area.width - root.width
                                                 : Number.MAX_VALUE
                        drag.maximumY: root.area ? root.area.y + root.area.height - root.height
                                                 : Number.MAX_VALUE
                        onPressed: root.press = true
                        onReleased: root.press = false
                        onPositionChanged: if (pressed) root.moved = true
                    }
                }
                Image {
                    anchors.verticalCenter: parent.verticalCenter
                    source: "qrc:/image/image/image/split.png"
                }
                Repeater {
                    model: root.tools
                    ToolButton {
                        id: toolButton
                        objectName: "tool" + modelData.name
                        anchors.verticalCenter: parent.verticalCenter
                        name: modelData.name
                        icon: modelData.commandIcon && root.view && root.view.isCommandModified
                              ? modelData.commandIcon : modelData.icon
                        title: modelData.title
                        subText: modelData.subText
                        checked: root.selectItem === modelData.name
                        onTriggered: root.toolButtonTriggered(name, check)
                        onShowToolTip: root.showToolTip(toolButton, title, subText, x, y)
                        onHideToolTip: root.hideToolTip()
                    }
                }
                Image {
                    anchors.verticalCenter: parent.verticalCenter
                    source: "qrc:/image/image/image/split.png"
                }
                Image {
                    objectName: "button_drop_menu"
                    anchors.verticalCenter: parent.verticalCenter
                    source: root.showDropPanel ? "qrc:/image/image/image/button_drop_panel_top.png"
                                               : "qrc:/image/image/image/button_drop_panel.png"
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: root.toggleDropPanel()
                    }
                }
            }
        }

        BorderImage {
            id: rightPanel
            objectName: "rightPanel"
            source: "qrc:/image/image/image/tool_accept_background.png"
            border { left: 6; right: 6; top: 6; bottom: 6 }
            width: accept.width + menuButton.width + 16
            height: 44

            Rectangle {
                id: accept
                objectName: "btnAccept"
                x: 6
                anchors.verticalCenter: parent.verticalCenter
                width: 40
                height: 32
                radius: 4
                // At rest, under the pointer, and pressed.
                readonly property var colors: !acceptMouse.containsMouse ? ["#60cdf9", "#39a5d0", "#1884ae"]
                    : acceptMouse.pressed ? ["#fed95a", "#efba3b", "#e5a628"]
                                          : ["#fecd37", "#ecab1b", "#dc8d02"]
                gradient: Gradient {
                    GradientStop { position: 0.0; color: accept.colors[0] }
                    GradientStop { position: 0.5; color: accept.colors[1] }
                    GradientStop { position: 1.0; color: accept.colors[2] }
                }
                Image {
                    anchors.centerIn: parent
                    source: acceptMouse.containsMouse ? "qrc:/icon/image/icon/tool_accept_icon_enter.png"
                                                      : "qrc:/icon/image/icon/tool_accept_icon.png"
                }
                MouseArea {
                    id: acceptMouse
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: {
                        toolTipTimerAccept.stop()
                        root.hideToolTip()
                        root.hideMenu()
                        root.clickAccept()
                    }
                    onContainsMouseChanged: if (!containsMouse) root.hideToolTip()
                }
                Timer {
                    id: toolTipTimerAccept
                    objectName: "toolTipTimerAccept"
                    interval: 700
                    running: acceptMouse.containsMouse
                    onTriggered: root.showToolTip(accept, "<b>" + qsTr("Public") + "</b>",
                                                  menu.key("Ctrl+Enter", "⌘Enter"),
                                                  acceptMouse.mouseX, acceptMouse.mouseY)
                }
            }
            Image {
                id: menuButton
                objectName: "btnMenu"
                anchors.left: accept.right
                anchors.leftMargin: 2
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                fillMode: Image.Pad
                source: root.showMenu ? "qrc:/image/image/image/accept_menu_top.png"
                                      : "qrc:/image/image/image/accept_menu.png"
                MouseArea {
                    anchors.fill: parent
                    cursorShape: Qt.PointingHandCursor
                    onClicked: root.showMenu = !root.showMenu
                }
            }
        }
    }

    ToolBarMenu {
        id: menu
        objectName: "menu"
        // Over the drop-down panel, which it overlaps when both are open.
        z: 2
        visible: root.showMenu
        readonly property int below: bar.height + 4
        readonly property int above: -height - 4
        readonly property bool roomRight: !root.area
            || root.x + rightPanel.x + width <= root.area.x + root.area.width
        readonly property bool roomBelow: !root.area
            || root.y + below + height <= root.area.y + root.area.height
        // Under the accept button, opening to the right where there is room; else ending at
        // the bar's right edge, which is inside already. Under the bar where there is room,
        // else over it.
        x: roomRight ? rightPanel.x : bar.width - width
        y: roomBelow || root.y + above < root.area.y ? below : above
        // The capture view may run without a controller.
        isMac: core ? core.is_mac() : false
        showMail: settings.isUseMailClient
        // A view that names no share keys of its own has the capture view's.
        shareModifier: root.view && root.view.shareModifier !== undefined
                       ? root.view.shareModifier : Qt.ShiftModifier
        onChosen: root.runOutput(action)
    }

    BorderImage {
        id: dropPanel
        objectName: "dropPanel"
        visible: root.showDropPanel
        opacity: root.showDropPanel ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: 150 } }
        anchors.top: bar.bottom
        anchors.topMargin: 2
        width: Math.max(leftPanel.width, colorLine.width + 16)
        height: panelColumn.height + 16
        source: "qrc:/component/image/component/drop_panel.png"
        border { left: 6; right: 6; top: 6; bottom: 6 }

        Column {
            id: panelColumn
            x: 8
            y: 8
            width: parent.width - 16
            spacing: 8

            Row {
                spacing: 8
                Image {
                    objectName: "undo_buttom"
                    property bool enabledNow: root.canvas ? root.canvas.canUndo : false
                    source: !enabledNow ? "qrc:/icon/image/icon/undo_arrow_disable.png"
                                        : (undoMouse.containsMouse ? "qrc:/icon/image/icon/undo_arrow_hover.png"
                                                                   : "qrc:/icon/image/icon/undo_arrow.png")
                    MouseArea {
                        id: undoMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        enabled: parent.enabledNow
                        onClicked: root.canvas.checkUndo()
                    }
                }
                Image {
                    objectName: "redo_buttom"
                    property bool enabledNow: root.canvas ? root.canvas.canRedo : false
                    source: !enabledNow ? "qrc:/icon/image/icon/redo_arrow_disable.png"
                                        : (redoMouse.containsMouse ? "qrc:/icon/image/icon/redo_arrow_hover.png"
                                                                   : "qrc:/icon/image/icon/redo_arrow.png")
                    MouseArea {
                        id: redoMouse
                        anchors.fill: parent
                        hoverEnabled: true
                        enabled: parent.enabledNow
                        onClicked: root.canvas.checkRedo()
                    }
                }
            }

            Item {
                width: parent.width
                height: 20
                // One point per colour position; the picture is shown at its own size with
                // each position's colour (its column position + 7) under that point.
                Item {
                    id: colorLine
                    objectName: "color_line"
                    anchors.verticalCenter: parent.verticalCenter
                    width: 200
                    height: 12
                    Image {
                        x: -7
                        anchors.verticalCenter: parent.verticalCenter
                        source: root.canvas ? "qrc:/component/image/component/color_line_big.png"
                                            : "qrc:/component/image/component/color_line_disable.png"
                    }
                }
                Image {
                    id: selectedColor
                    objectName: "selected_color"
                    anchors.verticalCenter: parent.verticalCenter
                    source: !root.canvas ? "qrc:/component/image/component/selected_color_disable.png"
                          : colorMouse.pressed ? "qrc:/component/image/component/selected_color_hover.png"
                                               : "qrc:/component/image/component/selected_color.png"
                }
                MouseArea {
                    id: colorMouse
                    objectName: "colorMouse"
                    property int startX: 0
                    anchors.fill: colorLine
                    enabled: root.canvas !== null
                    function pick(x) {
                        var value = Math.max(0, Math.min(colorLine.width - 1, Math.round(x)))
                        root.canvas.currentColor = core.getColorFromX(value)
                        root.canvas.currentColorX = value
                        root.changeColorLineX(value)
                        return value
                    }
                    onPressed: {
                        startX = root.canvas.currentColorX
                        pick(mouse.x)
                    }
                    onPositionChanged: pick(mouse.x)
                    onReleased: {
                        var value = pick(mouse.x)
                        if (value !== startX) {
                            root.canvas.pushColorChange(value, startX)
                            root.changeColorLineXEnd(value, startX)
                        }
                    }
                }
            }

            Row {
                spacing: 6
                Image {
                    objectName: "Substrate"
                    source: root.canvas && root.canvas.currentSubstrate ? "qrc:/component/image/component/drop_checkbox_check.png"
                                                       : "qrc:/component/image/component/drop_checkbox.png"
                    MouseArea {
                        anchors.fill: parent
                        enabled: root.canvas !== null
                        onClicked: root.canvas.currentSubstrate = !root.canvas.currentSubstrate
                    }
                }
                Text {
                    text: qsTr("Substrate")
                    font.family: "Arial"
                    font.pixelSize: 12
                    color: "#cfcece"
                    style: Text.Raised
                    styleColor: "#000000"
                }
            }

            Slider {
                id: sliderLineWidth
                objectName: "sliderLineWidth"
                width: 200
                minimum: 2
                maximum: 26
                enabled: root.canvas !== null
                value: root.canvas ? root.canvas.currentLineWidth : minimum
                onValueChange: {
                    root.canvas.currentLineWidth = value
                    root.changeWidthLineValue(value)
                }
                onValueChangeComplete: {
                    root.canvas.pushLineWidthChange(value, oldValue)
                    root.changeWidthLineValueEnd(value, oldValue)
                }
            }
        }
    }
}
