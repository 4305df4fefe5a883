import QtQuick 2.12

// The dark button.
ImageButton {
    styleColor: "#000000"
    normalSource: "qrc:/component/image/component/dark_button_background.png"
    hoverSource: "qrc:/component/image/component/dark_button_background_hover.png"
    pressSource: "qrc:/component/image/component/dark_button_background_press.png"
}
