import QtQuick 2.12
import KuvoComponent 1.0
import "../Components"

// The settings window: a column of tools on the left, the chosen tool's page on the right.
Window {
    id: page

    property int current: 0
    readonly property var tools: [
        { "name": "storage", "title": qsTr("Storage") + core.emptyString,
          "image": "qrc:/images/images/tool/storage.png" },
        { "name": "settings", "title": qsTr("Settings") + core.emptyString,
          "image": "qrc:/images/images/tool/settings.png" },
        { "name": "hotKey", "title": qsTr("Hot key") + core.emptyString,
          "image": "qrc:/images/images/tool/hot_key.png" }
    ]

    titleText: "Kuvo - " + qsTr("Settings") + core.emptyString
    windowWidth: 640
    windowHeight: 480

    Rectangle {
        id: column
        objectName: "toolColumn"
        anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
        width: 150
        color: "#eef0f2"

        Column {
            anchors { left: parent.left; right: parent.right; top: parent.top; topMargin: 10 }
            Repeater {
                model: page.tools
                Item {
                    objectName: modelData.name + "Tool"
                    width: column.width
                    height: 72
                    Rectangle {
                        anchors.fill: parent
                        visible: index === page.current
                        color: "#ffffff"
                        Rectangle {
                            width: 3
                            height: parent.height
                            color: "#2b8fc4"
                        }
                    }
                    Column {
                        anchors.centerIn: parent
                        spacing: 4
                        Image {
                            anchors.horizontalCenter: parent.horizontalCenter
                            source: modelData.image
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: modelData.title
                            color: index === page.current ? "#0096cd"
                                                          : settings.getValue("mainFontColor")
                            font.family: settings.getValue("mainFontFamily")
                            font.pixelSize: 13
                        }
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: page.current = index
                    }
                    CursorShapeArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                    }
                }
            }
        }
        Text {
            objectName: "version"
            anchors { left: parent.left; bottom: parent.bottom; margins: 12 }
            text: qsTr("Version ") + core.emptyString + core.appVersion()
            color: "#7d868c"
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 11
        }
        Rectangle {
            anchors { right: parent.right; top: parent.top; bottom: parent.bottom }
            width: 1
            color: "#d3d6da"
        }
    }

    // The pages of the three tools; what each holds is added tool by tool.
    Repeater {
        model: page.tools
        Item {
            objectName: modelData.name + "Page"
            visible: index === page.current
            anchors { left: column.right; right: parent.right; top: parent.top
                      bottom: parent.bottom; margins: 20 }
            Text {
                text: modelData.title
                color: settings.getValue("mainFontColor")
                font.family: settings.getValue("mainFontFamily")
                font.pixelSize: 18
                font.bold: true
            }
        }
    }
}
