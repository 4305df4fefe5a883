import QtQuick 2.12

// The large blue button of the sign-in page.
ImageButton {
    implicitHeight: 38
    fontSize: 15
    normalSource: "qrc:/component/image/component/login_button_background.png"
    hoverSource: "qrc:/component/image/component/login_button_background_hover.png"
    pressSource: "qrc:/component/image/component/login_button_background_press.png"
}
