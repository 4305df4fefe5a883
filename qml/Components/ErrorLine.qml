import QtQuick 2.12

// The red line under a field that tells what is wrong with it; it takes no room while empty.
Text {
    width: parent ? parent.width : implicitWidth
    visible: text !== ""
    wrapMode: Text.WordWrap
    // Often the server's own words: never markup that could show a link or fetch a picture.
    textFormat: Text.PlainText
    color: "#c9302c"
    font.family: settings.getValue("mainFontFamily")
    font.pixelSize: 12
}
