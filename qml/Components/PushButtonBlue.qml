import QtQuick 2.12

// The blue button of the settings pages and dialogs: the action the user most likely wants.
ImageButton {
    styleColor: "#227da0"
    normalSource: "qrc:/component/image/component/login_button_background.png"
    hoverSource: "qrc:/component/image/component/login_button_background_hover.png"
    pressSource: "qrc:/component/image/component/login_button_background_press.png"
}
