import QtQuick 2.12

// The name in front of an input field.
Text {
    width: 98
    elide: Text.ElideRight
    color: settings.getValue("mainFontColor")
    font.family: settings.getValue("mainFontFamily")
    font.pixelSize: 13
}
