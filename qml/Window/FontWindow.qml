import QtQuick 2.12
import "../Components"

// How the interface font looks here: one sentence drawn by Qt and by the platform's own text
// rendering, in a few sizes, plain, bold or italic.
Window {
    id: page

    property string currentFont: settings.getValue("mainFontFamily")
    property color currentColor: "#373e45"
    property bool bold: false
    property bool italic: false
    readonly property string sample:
        "Съешь же ещё этих мягких французских булок, да выпей чаю."

    titleText: "Kuvo - " + qsTr("Font") + core.emptyString
    windowWidth: 560
    windowHeight: titleHeight + samples.height + 80

    Row {
        id: caption
        anchors { left: parent.left; top: parent.top; margins: 18 }
        spacing: 18
        Text {
            text: qsTr("Current font ") + core.emptyString + page.currentFont
            color: settings.getValue("mainFontColor")
            font.family: settings.getValue("mainFontFamily")
            font.pixelSize: 14
            font.bold: true
        }
        CheckBox {
            textCheck: qsTr("Bold") + core.emptyString
            check: page.bold
            onClick: page.bold = check
        }
        CheckBox {
            textCheck: qsTr("Italic") + core.emptyString
            check: page.italic
            onClick: page.italic = check
        }
    }
    Column {
        id: samples
        anchors { left: parent.left; right: parent.right; top: caption.bottom; margins: 18 }
        spacing: 6
        Repeater {
            model: [
                { "rendering": Text.QtRendering, "size": 12 },
                { "rendering": Text.NativeRendering, "size": 12 },
                { "rendering": Text.QtRendering, "size": 14 },
                { "rendering": Text.NativeRendering, "size": 14 },
                { "rendering": Text.QtRendering, "size": 17 },
                { "rendering": Text.NativeRendering, "size": 17 }
            ]
            Text {
                width: samples.width
                text: page.sample
                elide: Text.ElideRight
                renderType: modelData.rendering
                color: page.currentColor
                font.family: page.currentFont
                font.pixelSize: modelData.size
                font.bold: page.bold
                font.italic: page.italic
            }
        }
    }
}
