import QtQuick 2.12
import "../Components"

// The fields of one FTP or SFTP server and its connection test. Each of the two key families
// keeps its own shown values, so switching sftp shows the other server's values and never
// carries the texts of one into the keys of the other. save() stores only what changed.
Column {
    id: form

    property bool sftp: false
    property string checkText: ""
    readonly property string prefix: sftp ? "sftp_" : "ftp_"
    readonly property bool checking: busy.visible
    // The shown values of both families, by key name.
    property var values: ({})

    spacing: 8

    function defaultPort(family) {
        return family === "sftp_" ? "22" : "21"
    }

    function stored(family, name) {
        var value = settings.getValue(family + name, name === "user" || name === "password")
        return value === undefined || value === null ? "" : String(value)
    }

    // A port as the upload reads it: "2121.0", as this page once stored it, is 2121.
    function portText(text) {
        var number = Number(text)
        return text.trim() !== "" && Number.isInteger(number) ? String(number) : text
    }

    // Stored again when it reads differently, or for the first time when it is not the default.
    function portChanged(family, text) {
        var before = portText(stored(family, "port"))
        return before === "" ? portText(text) !== defaultPort(family) : portText(text) !== before
    }

    function storedValues(family) {
        var port = portText(stored(family, "port"))
        return {
            "host": stored(family, "host"),
            "port": port === "" || port === "0" ? defaultPort(family) : port,
            "user": stored(family, "user"),
            "password": stored(family, "password"),
            "path": stored(family, "path"),
            "base_url": stored(family, "base_url")
        }
    }

    function show(family) {
        var shown = values[family]
        host.text = shown.host
        port.text = shown.port
        user.text = shown.user
        password.text = shown.password
        path.text = shown.path
        baseUrl.text = shown.base_url
    }

    function keep(family) {
        values[family] = {
            "host": host.text,
            "port": port.text,
            "user": user.text,
            "password": password.text,
            "path": path.text,
            "base_url": baseUrl.text
        }
    }

    function load() {
        values = { "ftp_": storedValues("ftp_"), "sftp_": storedValues("sftp_") }
        show(prefix)
    }

    function save() {
        keep(prefix)
        var families = ["ftp_", "sftp_"]
        for (var f = 0; f < families.length; ++f) {
            var family = families[f]
            var before = storedValues(family)
            var shown = values[family]
            for (var name in shown) {
                if (name === "port") {
                    // As digits: a number from here would be kept as "2121.0".
                    if (portChanged(family, shown.port))
                        settings.setValue(family + name, portText(shown.port))
                } else if (shown[name] !== before[name]) {
                    settings.setValue(family + name, shown[name],
                                      name === "user" || name === "password")
                }
            }
        }
    }

    // The port goes as text: it is read the way the upload reads the stored one.
    function checkConnection() {
        busy.visible = true
        if (sftp)
            core.checkSFTPConnecrion(user.text, password.text, host.text, path.text, port.text)
        else
            core.checkFtpConnecrion(user.text, password.text, host.text, path.text, port.text)
    }

    // From sftp itself: the binding of prefix may not have followed yet.
    onSftpChanged: {
        if (values["ftp_"] === undefined)
            return
        keep(sftp ? "ftp_" : "sftp_")
        show(sftp ? "sftp_" : "ftp_")
    }

    Component.onCompleted: {
        load()
        var fields = [host, port, user, password, path, baseUrl]
        for (var i = 0; i < fields.length; ++i)
            fields[i].edit.activeFocusOnTab = true
    }

    Connections {
        target: core
        function onCheckConnectionFinished() {
            busy.visible = false
        }
    }

    Grid {
        id: fields
        columns: 2
        rowSpacing: 8
        columnSpacing: 12
        verticalItemAlignment: Grid.AlignVCenter

        FieldLabel { text: qsTr("Host") + core.emptyString }
        KTextInput {
            id: host
            objectName: "host"
            width: form.width - 110
        }
        FieldLabel { text: qsTr("Port") + core.emptyString }
        KTextInput {
            id: port
            objectName: "port"
            width: 90
            typeSom: "integer"
        }
        FieldLabel { text: qsTr("User") + core.emptyString }
        KTextInput {
            id: user
            objectName: "user"
            width: form.width - 110
        }
        FieldLabel { text: qsTr("Password") + core.emptyString }
        KTextInput {
            id: password
            objectName: "password"
            width: form.width - 110
            echoMode: TextInput.Password
        }
        FieldLabel { text: qsTr("Upload path") + core.emptyString }
        KTextInput {
            id: path
            objectName: "path"
            width: form.width - 110
        }
        FieldLabel { text: qsTr("Base url") + core.emptyString }
        KTextInput {
            id: baseUrl
            objectName: "baseUrl"
            width: form.width - 110
            label: "http://example.com/screens/"
        }
    }
    Row {
        spacing: 12
        PushButtonBlue {
            id: checkButton
            objectName: "checkConnection"
            name: form.checkText
            enabled: !form.checking
            onClick: form.checkConnection()
        }
        AnimatedImage {
            id: busy
            objectName: "checkBusy"
            anchors.verticalCenter: parent.verticalCenter
            visible: false
            playing: visible
            source: "qrc:/component/image/component/download.gif"
        }
    }
}
