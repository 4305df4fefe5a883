#include "setting.h"
#include "cipher.h"
#include "paths.h"
#include "sqlworker.h"

#include <QColor>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <QUuid>

namespace {

Setting *s_instance = nullptr;

std::function<QString()> &hostUrlSource()
{
    static std::function<QString()> source;
    return source;
}

SettingKeys::Row::Cipher cipherOf(const QString &name)
{
    const SettingKeys::Row *row = SettingKeys::find(name);
    return row ? row->cipher : SettingKeys::Row::Plain;
}

bool isAlwaysEnciphered(const QString &name)
{
    return cipherOf(name) == SettingKeys::Row::Always;
}

// Values of these keys never reach a log line in clear.
bool isSecret(const QString &name, bool enciphered)
{
    return enciphered || cipherOf(name) != SettingKeys::Row::Plain;
}

QVariant shown(const QString &name, const QVariant &value, bool enciphered)
{
    return isSecret(name, enciphered) ? QVariant(QStringLiteral("<hidden>")) : value;
}

// An enciphered key never reads as null, only as the empty text.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

const char kSaveGameFile[] = "HKEY_CURRENT_USER\\Software\\Kuvo\\";

} // namespace

void Setting::setHostUrlSource(const std::function<QString()> &source)
{
    hostUrlSource() = source;
}

QString Setting::currentHostUrl() const
{
    return hostUrlSource() ? hostUrlSource()() : QString();
}

Setting *Setting::instance()
{
    if (!s_instance)
        s_instance = new Setting;
    return s_instance;
}

Setting::Setting(QObject *parent)
    : QObject(parent)
{
    qDebug() << "settings";
    Paths::prepareFolders();

    m_cache.insert(SettingKeys::mainFontColor, QColor(QStringLiteral("#25282c")));
    m_cache.insert(SettingKeys::mainFontFamily, QStringLiteral("Arial"));

    connect(&m_database, &SqlDatabase::writeFailed, this, [this](const QString &reason) {
        if (m_writeFailureTold)
            return;
        m_writeFailureTold = true;
        emit writesFailed(reason);
    });
    connectDatabase();
    Paths::makePrivate(Paths::databaseFile());
    connect(this, &Setting::valueChanged, this, &Setting::changeValue);
    checkTranslate();
    for (const SettingKeys::Row &row : SettingKeys::table()) {
        if (row.source == SettingKeys::Row::AtStart && getValue(row.name).isNull())
            setValue(row.name, row.initial);
    }

    // Writes are queued, not awaited: let the SQL thread finish them before the process ends.
    qAddPostRoutine(&Setting::drain);
}

void Setting::drain()
{
    if (s_instance)
        s_instance->m_database.stop();
}

bool Setting::connectDatabase()
{
    QVariantHash stored;
    static_assert(int(StorageDamaged) == int(SqlWorker::Damaged)
            && int(StorageReadOnly) == int(SqlWorker::ReadOnly)
            && int(StorageUnusable) == int(SqlWorker::Unusable),
        "the store reports the worker's findings as they are");
    int trouble = StorageFine;
    m_databaseOpen
        = m_database.connectToDatabase(Paths::databaseFile(), &stored, &trouble, &m_troubleDetail);
    m_trouble = StorageTrouble(trouble);
    // The user hears of a file that cannot be written once, from the start.
    m_writeFailureTold = m_trouble == StorageReadOnly || m_trouble == StorageUnusable;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        m_cache.insert(it.key(), it.value());
    qDebug() << Q_FUNC_INFO << QThread::currentThread() << "open:" << m_databaseOpen;
    return m_databaseOpen;
}

// The whole table sits in the cache from the moment the database opens, so a key that is not
// cached has no row: no read ever waits on the SQL thread.
QVariant Setting::getValue(const QString &name, bool is_encrypt)
{
    if (is_encrypt || isAlwaysEnciphered(name))
        return plainText(name);

    const QVariant value = m_cache.value(name);
    if (value.isNull()) {
        const SettingKeys::Row *row = SettingKeys::find(name);
        if (row && row->source == SettingKeys::Row::OnRead)
            return row->initial;
    }
    return value;
}

QString Setting::plainText(const QString &name)
{
    const auto pending = m_unsealed.constFind(name);
    if (pending != m_unsealed.cend())
        return *pending;

    const auto sealed = m_cache.constFind(name);
    if (sealed == m_cache.cend()) {
        m_cache.insert(name, QStringLiteral(""));
        return QStringLiteral("");
    }
    return nonNull(decrypt(sealed->toString(), cipherKey()));
}

void Setting::setValue(const QString &name, const QVariant &value, bool is_encrypt)
{
    qDebug() << Q_FUNC_INFO << name << shown(name, value, is_encrypt) << is_encrypt;
    QElapsedTimer timer;
    timer.start();

    if (is_encrypt || isAlwaysEnciphered(name)) {
        storeEnciphered(name, value.toString());
    } else if (m_cache.value(name) != value) {
        m_cache.insert(name, value);
        setValueDB(name, value);
        if (name == SettingKeys::token)
            sealPendingValues();
    }

    qDebug() << Q_FUNC_INFO << timer.elapsed();
    emitKeySignal(name);
    emit valueChanged(name, value);
}

void Setting::storeEnciphered(const QString &name, const QString &value)
{
    bool ok = false;
    const QString sealed = encrypt(value, cipherKey(), &ok);
    if (!ok) {
        m_unsealed.insert(name, value);
        qWarning() << Q_FUNC_INFO << name
                   << "cannot be enciphered while no account is signed in;"
                      " the new value is kept for this run only";
        return;
    }
    m_unsealed.remove(name);
    m_cache.insert(name, sealed);
    setValueDB(name, sealed);
}

QString Setting::cipherKey()
{
    const QString token = getValue(SettingKeys::token).toString();
    return token.isEmpty() ? getValue(SettingKeys::sealingToken).toString() : token;
}

void Setting::sealPendingValues()
{
    if (getValue(SettingKeys::token).toString().isEmpty())
        return;
    resealStoredValues();
    const auto pending = m_unsealed;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        storeEnciphered(it.key(), it.value());
}

// The rows still sealed with a refused token go over to the new one; a value written since,
// and held in memory, replaces its row right after.
void Setting::resealStoredValues()
{
    const QString former = getValue(SettingKeys::sealingToken).toString();
    if (former.isEmpty())
        return;
    for (const SettingKeys::Row &row : SettingKeys::table()) {
        const auto sealed = m_cache.constFind(row.name);
        if (row.cipher == SettingKeys::Row::Plain || row.cipher == SettingKeys::Row::Hidden
            || sealed == m_cache.cend() || m_unsealed.contains(row.name))
            continue;
        bool ok = false;
        const QString plain = decrypt(sealed->toString(), former, &ok);
        if (ok)
            storeEnciphered(row.name, nonNull(plain));
    }
    setValue(SettingKeys::sealingToken, QStringLiteral(""));
}

void Setting::emitKeySignal(const QString &name)
{
    if (name == SettingKeys::username)
        emit userNameChanges(m_cache.value(name).toString());
    else if (name == SettingKeys::useravatar)
        emit userAvatarChanges(m_cache.value(name).toString());
    else if (name == SettingKeys::keyFragmentScreen)
        emit keyFragmentScreenChanged();
    else if (name == SettingKeys::keySnapshotScreen)
        emit keySnapshotScreenChanged();
    else if (name == SettingKeys::keyQuickFragmentScreen)
        emit keyQuickFragmentScreenChanged();
}

QVariant Setting::getValueDB(const QString &name)
{
    const QVariant value = m_database.getData(name);
    qDebug() << Q_FUNC_INFO << name << shown(name, value, false);
    return value;
}

void Setting::setValueDB(const QString &name, const QVariant &value)
{
    QElapsedTimer timer;
    timer.start();
    m_database.exequte(
        QStringLiteral("INSERT OR REPLACE INTO Settings (name,value) VALUES (?,?)"), {name, value});
    qDebug() << Q_FUNC_INFO << timer.elapsed() << QThread::currentThread();
}

void Setting::resetDefault()
{
    // The bracket travels through the same queue as the writes, so it runs around them on
    // the thread that owns the connection.
    m_database.exequte(QStringLiteral("BEGIN"), {});
    for (const SettingKeys::Row &row : SettingKeys::table()) {
        if (row.reset.isValid())
            store(row.name, row.reset);
    }
    m_database.exequte(QStringLiteral("COMMIT"), {});
    emit valueChanged(QString(), QStringLiteral(""));
}

void Setting::resetHootKey()
{
    store(SettingKeys::keyFragmentScreen, QStringLiteral("Ctrl + Print Screen"));
    store(SettingKeys::keyQuickFragmentScreen, QStringLiteral("Shift + Print Screen"));
    store(SettingKeys::keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print Screen"));
}

QVariant Setting::widthColorLine()
{
    const QVariant value = stored(SettingKeys::widthColorLine);
    qDebug() << Q_FUNC_INFO << value;
    return value;
}

void Setting::setWidthColorLine(const QVariant &value)
{
    if (stored(SettingKeys::widthColorLine) != value)
        store(SettingKeys::widthColorLine, value);
}

void Setting::setLanguage(const QVariant &value)
{
    store(SettingKeys::language, value);
    checkTranslate();
}

void Setting::setLastGraphTools(const QVariant &value)
{
    store(SettingKeys::lastGraphTools, value);
    emit lastGraphToolsChanged(value);
}

void Setting::checkTranslate()
{
    if (!m_translator)
        m_translator = new QTranslator(this);
    if (!m_qtTranslator)
        m_qtTranslator = new QTranslator(this);

    const QString language = stored(SettingKeys::language).toString();
    QString file;
    if (language == QLatin1String("ru"))
        file = QStringLiteral(":/translate/kuvo.qm");
    else if (language == QLatin1String("en"))
        file = QStringLiteral(":/translate/kuvo_en.qm");

    if (!file.isEmpty()) {
        // Qt's own dialogs speak the same language, behind the program's texts. A failed load
        // empties the translator, so a switch back to English leaves no Russian behind.
        const QString qtFile = QStringLiteral("qt_") + language;
        if (!m_qtTranslator->load(qtFile, QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
            qDebug() << Q_FUNC_INFO << "no translation of Qt's own texts:" << qtFile;
        QCoreApplication::installTranslator(m_qtTranslator);
        if (!m_translator->load(file))
            qWarning() << Q_FUNC_INFO << "cannot load" << file;
        QCoreApplication::installTranslator(m_translator);
    }
    emit languageChanged();
}

void Setting::changeValue(const QString &name, const QVariant &value)
{
    if (name != SettingKeys::autostart)
        return;
    qDebug() << Q_FUNC_INFO << "change autostart";
    if (value.toBool())
        writeAutostartEntry();
    else if (!QFile::remove(QFileInfo(Paths::autostartFile()).absoluteFilePath()))
        qDebug() << Q_FUNC_INFO << "can`t remove autorun";
}

void Setting::writeAutostartEntry()
{
    const QFileInfo entry(Paths::autostartFile());
    QDir().mkpath(entry.absolutePath());
    QFile file(entry.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning() << Q_FUNC_INFO << "cannot write" << file.fileName() << file.errorString();
        return;
    }
    const QByteArray program = QCoreApplication::applicationFilePath().toUtf8();
    file.write("[Desktop Entry]\n"
               "Type=Application\n"
               "Exec='"
        + program
        + "'\n"
          "Hidden=false\n"
          "NoDisplay=false\n"
          "Name=Kuvo\n");
}

QString Setting::getUserId() const
{
    QSettings store(QStringLiteral("ym"), QStringLiteral("kuvo"));
    QString id = store.value(QStringLiteral("cid")).toString();
    if (id.isEmpty()) {
        id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        store.setValue(QStringLiteral("cid"), id);
    }
    return id;
}

QVariant Setting::userAvatar()
{
    const QString avatar = stored(SettingKeys::useravatar).toString();
    return avatar.isEmpty() ? QStringLiteral("qrc:/images/images/avatar_default.png") : avatar;
}

QVariant Setting::saveGamePath() const
{
    QSettings store(QLatin1String(kSaveGameFile), QSettings::NativeFormat);
    return store.value(QStringLiteral("game_tmp"), QStringLiteral(""));
}

void Setting::setSaveGamePath(const QVariant &value)
{
    QSettings store(QLatin1String(kSaveGameFile), QSettings::NativeFormat);
    store.setValue(QStringLiteral("game_tmp"), value.toString());
    emit valueChanged(QStringLiteral("saveGamePath"), value);
}

void Setting::changeSaveGamePath()
{
    const QString path = QFileDialog::getExistingDirectory(
        nullptr, tr("Slect screen capture game path"), QString());
    if (!path.isEmpty())
        setSaveGamePath(path);
}
