#ifndef SETTINGKEYS_H
#define SETTINGKEYS_H

#include <QLatin1String>
#include <QVariant>
#include <QVector>

// The names of the rows of the table "Settings". Files written by every earlier version and
// the QML pages spell them this way, so a name here never changes.
namespace SettingKeys {

template <int N> constexpr QLatin1String key(const char (&name)[N])
{
    return QLatin1String(name, N - 1);
}

// Capture and global hot keys
constexpr QLatin1String fragmentScreen = key("fragmentScreen");
constexpr QLatin1String quickFragmentScreen = key("quickFragmentScreen");
constexpr QLatin1String snapshotFull = key("snapshotFull");
constexpr QLatin1String sendScreen = key("sendScreen");
constexpr QLatin1String keyFragmentScreen = key("keyFragmentScreen");
constexpr QLatin1String keyQuickFragmentScreen = key("keyQuickFragmentScreen");
constexpr QLatin1String keySnapshotScreen = key("keySnapshotScreen");
constexpr QLatin1String keySendScreen = key("keySendScreen");

// Windows and behaviour
constexpr QLatin1String showUpload = key("show_upload");
constexpr QLatin1String showLastUpload = key("show_last_upload");
constexpr QLatin1String showActiveWindow = key("showActiveWindow");
constexpr QLatin1String showCloseSurfaceWindow = key("showCloseSurfaceWindow");
constexpr QLatin1String showMagnifier = key("showMagnifier");
constexpr QLatin1String autostart = key("autostart");
constexpr QLatin1String language = key("language");
constexpr QLatin1String videoQuality = key("videoQuality");

// Capture output
constexpr QLatin1String qualityImage = key("qualityImage");
constexpr QLatin1String useSaveScreen = key("useSaveScreen");
constexpr QLatin1String saveScreenFolder = key("saveScreenFolder");
constexpr QLatin1String lastSavePath = key("lastSavePath");

// Annotation editor
constexpr QLatin1String widthColorLine = key("widthColorLine");
constexpr QLatin1String widthTextLine = key("widthTextLine");
constexpr QLatin1String widthBlureLine = key("widthBlureLine");
constexpr QLatin1String widthBlackoutLine = key("widthBlackoutLine");
constexpr QLatin1String colorColorLine = key("colorColorLine");
constexpr QLatin1String visibleColorPanel = key("visibleColorPanel");
constexpr QLatin1String lastGraphTools = key("lastGraphTools");
constexpr QLatin1String substrate = key("substrate");

// Upload target
constexpr QLatin1String typeUpload = key("type_upload");
constexpr QLatin1String shortLink = key("shortLink");
constexpr QLatin1String isSftp = key("is_sftp");
constexpr QLatin1String ftpHost = key("ftp_host");
constexpr QLatin1String ftpPort = key("ftp_port");
constexpr QLatin1String ftpPath = key("ftp_path");
constexpr QLatin1String ftpBaseUrl = key("ftp_base_url");
constexpr QLatin1String ftpUser = key("ftp_user");
constexpr QLatin1String ftpPassword = key("ftp_password");
constexpr QLatin1String sftpHost = key("sftp_host");
constexpr QLatin1String sftpPort = key("sftp_port");
constexpr QLatin1String sftpPath = key("sftp_path");
constexpr QLatin1String sftpBaseUrl = key("sftp_base_url");
constexpr QLatin1String sftpUser = key("sftp_user");
constexpr QLatin1String sftpPassword = key("sftp_password");
constexpr QLatin1String isFtpErrorUploadKuvo = key("is_ftp_error_upload_kuvo");
constexpr QLatin1String isDropboxErrorUploadKuvo = key("is_dropbox_error_upload_kuvo");

// Proxy
constexpr QLatin1String useProxy = key("useProxy");
constexpr QLatin1String proxyHost = key("proxy_host");
constexpr QLatin1String proxyPort = key("proxy_port");
constexpr QLatin1String proxyUser = key("proxy_user");
constexpr QLatin1String proxyPassword = key("proxy_password");

// Service account, written from the service's replies
constexpr QLatin1String token = key("token");
constexpr QLatin1String username = key("username");
constexpr QLatin1String usermail = key("usermail");
constexpr QLatin1String useravatar = key("useravatar");
constexpr QLatin1String quota = key("quota");
constexpr QLatin1String usage = key("usage");
constexpr QLatin1String maxPostSize = key("max_post_size");
// The token the service refused, kept only while the enciphered keys are still sealed with it:
// the next sign-in seals them with its own token and empties this one.
constexpr QLatin1String sealingToken = key("sealing_token");

// Cloud storage account
constexpr QLatin1String dropBoxTokenApiv2 = key("drop_box_token_apiv2");
constexpr QLatin1String dropBoxRefreshTokenApiv2 = key("drop_box_refresh_token_apiv2");
constexpr QLatin1String dropBoxTokenExpiry = key("drop_box_token_expiry");
constexpr QLatin1String dropBoxDisplayName = key("drop_box_display_name");
constexpr QLatin1String dropBoxEmail = key("drop_box_email");
constexpr QLatin1String dropBoxTotal = key("drop_box_total");
constexpr QLatin1String dropBoxUsage = key("drop_box_usage");
constexpr QLatin1String dropBoxQuota = key("drop_box_quota");
constexpr QLatin1String dropBoxToken = key("drop_box_token");

// Counters and reminders
constexpr QLatin1String countScreen = key("count_screen");
constexpr QLatin1String dateLastScreen = key("date_last_screen");
constexpr QLatin1String userid = key("userid");

// Held in the cache only, never in the file
constexpr QLatin1String mainFontColor = key("mainFontColor");
constexpr QLatin1String mainFontFamily = key("mainFontFamily");
// The keys of one file-transfer target; its user and password are always enciphered.
struct TransferKeys
{
    QLatin1String host;
    QLatin1String port;
    QLatin1String path;
    QLatin1String baseUrl;
    QLatin1String user;
    QLatin1String password;
};
constexpr TransferKeys ftp {ftpHost, ftpPort, ftpPath, ftpBaseUrl, ftpUser, ftpPassword};
constexpr TransferKeys sftp {sftpHost, sftpPort, sftpPath, sftpBaseUrl, sftpUser, sftpPassword};

// What the store knows of one key besides its name.
struct Row
{
    // What the value means; readers convert with the matching QVariant conversion.
    enum Type { Bool, Integer, Text, KeyText, Path, Bytes, DateTime };
    // Where an unset key's value comes from.
    enum Source {
        NoDefault, // reads as null (an enciphered key as the empty text)
        FirstRun, // a row the new file starts with
        OnRead, // answered by the store while no row exists
        AtStart, // written by the store's start when no row exists
    };
    enum Cipher {
        Plain,
        Hidden, // stored plain but never shown in a log line
        OnRequest, // enciphered when the caller asks for it
        Always, // enciphered whatever the caller asks
    };

    QLatin1String name;
    Type type;
    Source source;
    // The first-run row, the answer on read or the value written at start; an integer here
    // is stored as an integer, a text as text.
    QVariant initial;
    // What resetDefault writes; null when a reset leaves the key alone.
    QVariant reset;
    Cipher cipher;
};

// Every key the program stores.
const QVector<Row> &table();
// The key's row, or null for a name the table does not know.
const Row *find(const QString &name);

} // namespace SettingKeys

#endif // SETTINGKEYS_H
