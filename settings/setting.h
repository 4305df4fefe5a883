#ifndef SETTING_H
#define SETTING_H

#include "settingkeys.h"
#include "sqldatabase.h"

#include <QHash>
#include <QObject>
#include <QVariant>

#include <functional>

class QTranslator;

// The process-wide key/value settings store: a cache over the table "Settings", served by the
// SQL thread, with the credential keys enciphered at rest and in the cache.
class Setting : public QObject
{
    Q_OBJECT

    Q_PROPERTY(
        QVariant fragmentScreen READ fragmentScreen WRITE setFragmentScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant quickFragmentScreen READ quickFragmentScreen WRITE setQuickFragmentScreen
            NOTIFY valueChanged)
    Q_PROPERTY(QVariant snapshotFull READ snapshotFull WRITE setSnapshotFull NOTIFY valueChanged)
    Q_PROPERTY(QVariant sendScreen READ sendScreen WRITE setSendScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant useProxy READ useProxy WRITE setUseProxy NOTIFY valueChanged)
    Q_PROPERTY(QVariant qualityImage READ qualityImage WRITE setQualityImage NOTIFY valueChanged)
    Q_PROPERTY(QVariant autostart READ autostart WRITE setAutostart NOTIFY valueChanged)
    Q_PROPERTY(QVariant showUpload READ showUpload WRITE setShowUpload NOTIFY valueChanged)
    Q_PROPERTY(
        QVariant showLastUpload READ showLastUpload WRITE setShowLastUpload NOTIFY valueChanged)
    Q_PROPERTY(QVariant userName READ userName NOTIFY valueChanged)
    Q_PROPERTY(QVariant userMail READ userMail NOTIFY valueChanged)
    Q_PROPERTY(QVariant userAvatar READ userAvatar NOTIFY valueChanged)
    Q_PROPERTY(QVariant quota READ quota NOTIFY valueChanged)
    Q_PROPERTY(QVariant usage READ usage NOTIFY valueChanged)
    Q_PROPERTY(QVariant useSaveScreen READ useSaveScreen WRITE setUseSaveScreen NOTIFY valueChanged)
    Q_PROPERTY(QVariant saveScreenFolder READ saveScreenFolder WRITE setSaveScreenFolder NOTIFY
            valueChanged)
    Q_PROPERTY(QVariant shortLink READ shortLink WRITE setShortLink NOTIFY valueChanged)
    Q_PROPERTY(QVariant language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QVariant videoQuality READ videoQuality WRITE setVideoQuality NOTIFY valueChanged)
    Q_PROPERTY(QVariant showActiveWindow READ showActiveWindow WRITE setShowActiveWindow NOTIFY
            valueChanged)
    Q_PROPERTY(QVariant showMagnifier READ showMagnifier WRITE setShowMagnifier NOTIFY valueChanged)
    Q_PROPERTY(QVariant showCloseSurfaceWindow READ showCloseSurfaceWindow WRITE
            setShowCloseSurfaceWindow NOTIFY valueChanged)
    Q_PROPERTY(QVariant saveGamePath READ saveGamePath WRITE setSaveGamePath NOTIFY valueChanged)
    Q_PROPERTY(QVariant visibleColorPanel READ visibleColorPanel WRITE setVisibleColorPanel NOTIFY
            valueChanged)
    Q_PROPERTY(int colorColorLine READ colorColorLine WRITE setColorColorLine NOTIFY valueChanged)
    Q_PROPERTY(
        QVariant widthColorLine READ widthColorLine WRITE setWidthColorLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant typeUpload READ typeUpload WRITE setTypeUpload NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthTextLine READ widthTextLine WRITE setWidthTextLine NOTIFY valueChanged)
    Q_PROPERTY(
        QVariant widthBlureLine READ widthBlureLine WRITE setWidthBlureLine NOTIFY valueChanged)
    Q_PROPERTY(QVariant widthBlackoutLine READ widthBlackoutLine WRITE setWidthBlackoutLine NOTIFY
            valueChanged)
    Q_PROPERTY(QVariant lastGraphTools READ lastGraphTools WRITE setLastGraphTools NOTIFY
            lastGraphToolsChanged)
    Q_PROPERTY(bool isUseMailClient READ isUseMailClient NOTIFY isUseMailClientChanged)
    Q_PROPERTY(QString currentHostUrl READ currentHostUrl CONSTANT)

public:
    static Setting *instance();
    // The service's web host, as the controller knows it: it hands the store its reader.
    static void setHostUrlSource(const std::function<QString()> &source);
    QString currentHostUrl() const;
    // Waits until every queued write is in the file; the store takes no writes afterwards.
    // Runs by itself when the application object goes; call it before ending the process
    // any other way.
    static void drain();

    Q_INVOKABLE QVariant getValue(const QString &name, bool is_encrypt = false);
    Q_INVOKABLE void setValue(const QString &name, const QVariant &value, bool is_encrypt = false);

    // Direct access to the table, bypassing the cache.
    QVariant getValueDB(const QString &name);
    void setValueDB(const QString &name, const QVariant &value);
    bool connectDatabase();

    // What was wrong with the settings file at start, for the user to be told once.
    enum StorageTrouble { StorageFine, StorageDamaged, StorageReadOnly, StorageUnusable };
    StorageTrouble storageTrouble() const { return m_trouble; }
    // Damaged: where the damaged file went; read-only: the file; unusable: why.
    QString storageDetail() const { return m_troubleDetail; }

    QVariant saveScreenFolder() { return getValue(SettingKeys::saveScreenFolder); }
    QVariant showActiveWindow() { return getValue(SettingKeys::showActiveWindow).toBool(); }
    Q_INVOKABLE bool isUseMailClient() const { return false; }

    void checkTranslate();
    QString getUserId() const;
    QString getPlatform() const { return QStringLiteral("linux"); }
    QVariant userAvatar();
    QVariant saveGamePath() const;
    void setSaveGamePath(const QVariant &value);
    Q_INVOKABLE void changeSaveGamePath();

    QVariant fragmentScreen() { return stored(SettingKeys::fragmentScreen); }
    QVariant quickFragmentScreen() { return stored(SettingKeys::quickFragmentScreen); }
    QVariant snapshotFull() { return stored(SettingKeys::snapshotFull); }
    QVariant sendScreen() { return stored(SettingKeys::sendScreen); }
    QVariant useProxy() { return flag(SettingKeys::useProxy); }
    QVariant qualityImage() { return stored(SettingKeys::qualityImage); }
    QVariant autostart() { return flag(SettingKeys::autostart); }
    QVariant showUpload() { return flag(SettingKeys::showUpload); }
    QVariant showLastUpload() { return flag(SettingKeys::showLastUpload); }
    QVariant userName() { return stored(SettingKeys::username); }
    QVariant userMail() { return stored(SettingKeys::usermail); }
    QVariant quota() { return stored(SettingKeys::quota); }
    QVariant usage() { return stored(SettingKeys::usage); }
    QVariant useSaveScreen() { return flag(SettingKeys::useSaveScreen); }
    QVariant shortLink() { return stored(SettingKeys::shortLink); }
    QVariant language() { return stored(SettingKeys::language); }
    QVariant videoQuality() { return stored(SettingKeys::videoQuality); }
    QVariant showMagnifier() { return flag(SettingKeys::showMagnifier); }
    QVariant showCloseSurfaceWindow() { return flag(SettingKeys::showCloseSurfaceWindow); }
    QVariant visibleColorPanel() { return stored(SettingKeys::visibleColorPanel); }
    int colorColorLine() { return stored(SettingKeys::colorColorLine).toInt(); }
    QVariant widthColorLine();
    QVariant typeUpload() { return stored(SettingKeys::typeUpload).toString(); }
    QVariant widthTextLine() { return stored(SettingKeys::widthTextLine); }
    QVariant widthBlureLine() { return stored(SettingKeys::widthBlureLine); }
    QVariant widthBlackoutLine() { return stored(SettingKeys::widthBlackoutLine); }
    QVariant lastGraphTools() { return stored(SettingKeys::lastGraphTools).toString(); }

public slots:
    void resetDefault();
    void resetHootKey();

    void setFragmentScreen(const QVariant &value) { store(SettingKeys::fragmentScreen, value); }
    void setQuickFragmentScreen(const QVariant &value)
    {
        store(SettingKeys::quickFragmentScreen, value);
    }
    void setSnapshotFull(const QVariant &value) { store(SettingKeys::snapshotFull, value); }
    void setSendScreen(const QVariant &value) { store(SettingKeys::sendScreen, value); }
    void setUseProxy(const QVariant &value) { store(SettingKeys::useProxy, value); }
    void setQualityImage(const QVariant &value) { store(SettingKeys::qualityImage, value); }
    void setAutostart(const QVariant &value) { store(SettingKeys::autostart, value); }
    void setShowUpload(const QVariant &value) { store(SettingKeys::showUpload, value); }
    void setShowLastUpload(const QVariant &value) { store(SettingKeys::showLastUpload, value); }
    void setUseSaveScreen(const QVariant &value) { store(SettingKeys::useSaveScreen, value); }
    void setSaveScreenFolder(const QVariant &value) { store(SettingKeys::saveScreenFolder, value); }
    void setShortLink(const QVariant &value) { store(SettingKeys::shortLink, value); }
    void setLanguage(const QVariant &value);
    void setVideoQuality(const QVariant &value) { store(SettingKeys::videoQuality, value); }
    void setShowActiveWindow(const QVariant &value) { store(SettingKeys::showActiveWindow, value); }
    void setShowMagnifier(const QVariant &value) { store(SettingKeys::showMagnifier, value); }
    void setShowCloseSurfaceWindow(const QVariant &value)
    {
        store(SettingKeys::showCloseSurfaceWindow, value);
    }
    void setVisibleColorPanel(const QVariant &value)
    {
        store(SettingKeys::visibleColorPanel, value);
    }
    void setColorColorLine(int value) { store(SettingKeys::colorColorLine, value); }
    void setWidthColorLine(const QVariant &value);
    void setTypeUpload(const QVariant &value) { store(SettingKeys::typeUpload, value); }
    void setWidthTextLine(const QVariant &value) { store(SettingKeys::widthTextLine, value); }
    void setWidthBlureLine(const QVariant &value) { store(SettingKeys::widthBlureLine, value); }
    void setWidthBlackoutLine(const QVariant &value)
    {
        store(SettingKeys::widthBlackoutLine, value);
    }
    void setLastGraphTools(const QVariant &value);

signals:
    void valueChanged(const QString &name, const QVariant &value);
    void userNameChanges(const QString &name);
    void userAvatarChanges(const QString &ava);
    void languageChanged();
    void lastGraphToolsChanged(const QVariant &value);
    void keyFragmentScreenChanged();
    void keySnapshotScreenChanged();
    void keyQuickFragmentScreenChanged();
    void isUseMailClientChanged();
    // Changes stopped reaching the file (emitted once a run, and not at all when the file
    // was known to be unwritable from the start).
    void writesFailed(const QString &reason);

private slots:
    void changeValue(const QString &name, const QVariant &value);

private:
    explicit Setting(QObject *parent = nullptr);

    QVariant stored(QLatin1String key) { return getValue(key); }
    QVariant flag(QLatin1String key) { return getValue(key).toBool(); }
    void store(QLatin1String key, const QVariant &value) { setValue(key, value); }

    QString plainText(const QString &name);
    void storeEnciphered(const QString &name, const QString &value);
    // The account's token; while signed out after the service refused it, that token, which
    // the enciphered rows stay sealed with until the next sign-in.
    QString cipherKey();
    void sealPendingValues();
    void resealStoredValues();
    void emitKeySignal(const QString &name);
    void writeAutostartEntry();
    SqlDatabase m_database;
    QHash<QString, QVariant> m_cache;
    // Enciphered keys written while no token could key the cipher: kept in memory for this
    // run, and stored as soon as a token arrives, so the row on disk never loses its value.
    QHash<QString, QString> m_unsealed;
    QTranslator *m_translator = nullptr;
    // Qt's own texts: the file dialog, the standard buttons.
    QTranslator *m_qtTranslator = nullptr;
    bool m_databaseOpen = false;
    StorageTrouble m_trouble = StorageFine;
    QString m_troubleDetail;
    bool m_writeFailureTold = false;
};

#endif // SETTING_H
