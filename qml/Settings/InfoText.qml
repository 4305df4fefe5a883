import QtQuick 2.12

// A line of plain text on the account pages.
Text {
    wrapMode: Text.WordWrap
    color: settings.getValue("mainFontColor")
    font.family: settings.getValue("mainFontFamily")
    font.pixelSize: 13
}
