#include "settingkeys.h"

#include <QHash>

namespace SettingKeys {

namespace {

const QVariant kNone;

Row firstRun(
    QLatin1String name, Row::Type type, const QVariant &initial, const QVariant &reset = kNone)
{
    return {name, type, Row::FirstRun, initial, reset, Row::Plain};
}

Row unset(QLatin1String name, Row::Type type, Row::Cipher cipher = Row::Plain)
{
    return {name, type, Row::NoDefault, kNone, kNone, cipher};
}

QVector<Row> transferRows(const TransferKeys &keys)
{
    return {unset(keys.host, Row::Text), unset(keys.port, Row::Integer),
        unset(keys.path, Row::Text), unset(keys.baseUrl, Row::Text),
        unset(keys.user, Row::Text, Row::Always), unset(keys.password, Row::Text, Row::Always)};
}

// Bare numbers and texts stand as the first-run rows and resetDefault always wrote them:
// a file written by an earlier version reads the same.
QVector<Row> makeTable()
{
    const QString print = QStringLiteral("Print Screen");
    QVector<Row> rows = {
        firstRun(fragmentScreen, Row::Bool, 1, 1),
        firstRun(quickFragmentScreen, Row::Bool, 1, 1),
        firstRun(snapshotFull, Row::Bool, 1, 1),
        firstRun(sendScreen, Row::Bool, 1, 1),
        firstRun(keyFragmentScreen, Row::KeyText, QStringLiteral("Ctrl + Print"), print),
        firstRun(keyQuickFragmentScreen, Row::KeyText, QStringLiteral("Shift + Print"),
            QStringLiteral("Shift + ") + print),
        firstRun(keySnapshotScreen, Row::KeyText, QStringLiteral("Ctrl + Shift + Print"),
            QStringLiteral("Ctrl + Shift + ") + print),
        firstRun(keySendScreen, Row::KeyText, QStringLiteral("Ctrl + Enter")),

        firstRun(showUpload, Row::Bool, 1, 1),
        firstRun(showLastUpload, Row::Bool, 1, 1),
        firstRun(showActiveWindow, Row::Bool, QStringLiteral("1")),
        firstRun(showCloseSurfaceWindow, Row::Bool, QStringLiteral("1"), 1),
        {showMagnifier, Row::Bool, Row::OnRead, false, 1, Row::Plain},
        firstRun(autostart, Row::Bool, QStringLiteral("1"), 1),
        unset(language, Row::Text),
        unset(videoQuality, Row::Text),

        firstRun(qualityImage, Row::Integer, 1, 1),
        firstRun(useSaveScreen, Row::Bool, 0, 0),
        firstRun(saveScreenFolder, Row::Path, QStringLiteral("")),
        unset(lastSavePath, Row::Path),

        firstRun(widthColorLine, Row::Integer, QStringLiteral("2")),
        firstRun(widthTextLine, Row::Integer, QStringLiteral("6")),
        firstRun(widthBlureLine, Row::Integer, QStringLiteral("9")),
        firstRun(widthBlackoutLine, Row::Integer, QStringLiteral("9")),
        firstRun(colorColorLine, Row::Integer, QStringLiteral("7"), 7),
        firstRun(visibleColorPanel, Row::Bool, QStringLiteral("1"), 1),
        unset(lastGraphTools, Row::Text),
        unset(substrate, Row::Bool),

        {typeUpload, Row::Text, Row::AtStart, QStringLiteral("kuvo"), kNone, Row::Plain},
        {shortLink, Row::Bool, Row::OnRead, false, kNone, Row::Plain},
        unset(isSftp, Row::Bool),
        unset(isFtpErrorUploadKuvo, Row::Bool),
        unset(isDropboxErrorUploadKuvo, Row::Bool),

        firstRun(useProxy, Row::Bool, 0, 0),
        unset(proxyHost, Row::Text),
        unset(proxyPort, Row::Integer),
        unset(proxyUser, Row::Text),
        unset(proxyPassword, Row::Text, Row::Hidden),

        unset(token, Row::Text, Row::Hidden),
        unset(username, Row::Text),
        unset(usermail, Row::Text),
        unset(useravatar, Row::Text),
        unset(quota, Row::Bytes),
        unset(usage, Row::Bytes),
        unset(maxPostSize, Row::Bytes),
        unset(sealingToken, Row::Text, Row::Hidden),

        unset(dropBoxTokenApiv2, Row::Text, Row::OnRequest),
        unset(dropBoxRefreshTokenApiv2, Row::Text, Row::OnRequest),
        unset(dropBoxTokenExpiry, Row::Integer),
        unset(dropBoxDisplayName, Row::Text),
        unset(dropBoxEmail, Row::Text),
        unset(dropBoxTotal, Row::Bytes),
        unset(dropBoxUsage, Row::Bytes),
        unset(dropBoxQuota, Row::Bytes),
        unset(dropBoxToken, Row::Text, Row::Hidden),

        unset(countScreen, Row::Integer),
        unset(dateLastScreen, Row::DateTime),
        unset(userid, Row::Text),
    };
    rows << transferRows(ftp) << transferRows(sftp);
    return rows;
}

} // namespace

const QVector<Row> &table()
{
    static const QVector<Row> rows = makeTable();
    return rows;
}

const Row *find(const QString &name)
{
    static const QHash<QString, const Row *> byName = [] {
        QHash<QString, const Row *> rows;
        for (const Row &row : table())
            rows.insert(row.name, &row);
        return rows;
    }();
    return byName.value(name);
}

} // namespace SettingKeys
