#include "cipher.h"
#include "paths.h"
#include "setting.h"

#include <QApplication>
#include <QColor>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWidget>
#include <QtTest>

namespace {

// Reads the table through a connection of the test's own. Asking the store for a read first
// puts that request behind every queued write, so the file holds all of them by then.
QHash<QString, QString> storedRows()
{
    Setting::instance()->getValueDB(QStringLiteral("any key"));
    QHash<QString, QString> rows;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspect"));
        db.setDatabaseName(Paths::databaseFile());
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT name, value FROM Settings"), db);
            while (query.next())
                rows.insert(query.value(0).toString(), query.value(1).toString());
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspect"));
    return rows;
}

// Every message Qt writes while it lives.
class MessageCapture
{
public:
    MessageCapture() { s_previous = qInstallMessageHandler(&MessageCapture::handle); }
    ~MessageCapture() { qInstallMessageHandler(s_previous); }
    static QString all() { return s_lines.join(QLatin1Char('\n')); }

private:
    static void handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        s_lines << message;
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_lines;
};

const char kGamePathTitle[] = "Slect screen capture game path";

} // namespace

class TestSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void freshStoreMakesFoldersAndFile();
    void defaults_data();
    void defaults();
    void cacheOnlyValuesNeverReachTheFile();
    void unsetEncipheredKeyReadsEmptyText();

    void unchangedWriteSignalsButSkipsTheDatabase();
    void keySignals_data();
    void keySignals();
    void writeThenDatabaseReadSeesTheValue();
    void nestedDatabaseReadsGetTheirOwnValues();

    void credentialsAreStoredEnciphered();
    void withoutTokenTheStoredRowIsKept();
    void secretsNeverReachTheLog();

    void keysStartAndReset_data();
    void keysStartAndReset();
    void resetHootKey();

    void properties();
    void languageSwitch();
    void autostartEntry();
    void avatarFallsBackToTheBuiltInPicture();
    void clientIdIsStable();
    void saveGamePath();
    void cancelledFolderChoiceChangesNothing();

private:
    Setting *m_settings = nullptr;
    // The rows of the file as the first start left them.
    QHash<QString, QString> m_firstRun;
    int m_listedFirstRunRows = 0;
};

void TestSetting::initTestCase()
{
    QVERIFY2(QDir::homePath().contains(QStringLiteral("/kuvo-test.")),
        "run through tests/support/isolate.sh so that HOME is a temporary folder");
    m_settings = Setting::instance();
    m_firstRun = storedRows();
}

void TestSetting::freshStoreMakesFoldersAndFile()
{
    QVERIFY(QFileInfo(QDir::homePath() + QStringLiteral("/.kuvo")).isDir());
    QVERIFY(QFileInfo(QDir::homePath() + QStringLiteral("/.kuvo/tmp")).isDir());
    QVERIFY(QFileInfo(QDir::homePath() + QStringLiteral("/.kuvo/setting")).isFile());
}

void TestSetting::defaults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("stored integer") << "qualityImage" << QVariant(QStringLiteral("1"));
    QTest::newRow("stored text") << "widthColorLine" << QVariant(QStringLiteral("2"));
    QTest::newRow("empty folder") << "saveScreenFolder" << QVariant(QStringLiteral(""));
    QTest::newRow("start default") << "type_upload" << QVariant(QStringLiteral("kuvo"));
    QTest::newRow("read default magnifier") << "showMagnifier" << QVariant(false);
    QTest::newRow("read default short link") << "shortLink" << QVariant(false);
    QTest::newRow("no default language") << "language" << QVariant();
    QTest::newRow("no default tool") << "lastGraphTools" << QVariant();
}

void TestSetting::defaults()
{
    QFETCH(QString, key);
    QFETCH(QVariant, expected);
    for (int read = 0; read < 2; ++read) {
        const QVariant value = m_settings->getValue(key);
        QCOMPARE(value.isNull(), expected.isNull());
        if (expected.userType() == QMetaType::Bool)
            QCOMPARE(value.userType(), int(QMetaType::Bool));
        QCOMPARE(value.toString(), expected.toString());
    }
}

void TestSetting::cacheOnlyValuesNeverReachTheFile()
{
    QCOMPARE(m_settings->getValue(QStringLiteral("mainFontColor")).value<QColor>(),
        QColor(QStringLiteral("#25282c")));
    QCOMPARE(
        m_settings->getValue(QStringLiteral("mainFontFamily")).toString(), QStringLiteral("Arial"));
    const auto rows = storedRows();
    QVERIFY(!rows.contains(QStringLiteral("mainFontColor")));
    QVERIFY(!rows.contains(QStringLiteral("mainFontFamily")));
}

void TestSetting::unsetEncipheredKeyReadsEmptyText()
{
    const QVariant value = m_settings->getValue(QStringLiteral("sftp_user"));
    QVERIFY(!value.isNull());
    QCOMPARE(value.userType(), int(QMetaType::QString));
    QCOMPARE(value.toString(), QString());
    QCOMPARE(
        m_settings->getValue(QStringLiteral("drop_box_token_apiv2"), true).toString(), QString());
}

void TestSetting::unchangedWriteSignalsButSkipsTheDatabase()
{
    const QString key = QStringLiteral("proxy_host");
    m_settings->setValue(key, QStringLiteral("a.example"));
    QCOMPARE(storedRows()[key], QStringLiteral("a.example"));

    // Change the row behind the store's back: only a real write can undo that.
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("behind"));
        db.setDatabaseName(Paths::databaseFile());
        QVERIFY(db.open());
        QSqlQuery update(db);
        QVERIFY(update.exec(
            QStringLiteral("UPDATE Settings SET value='changed' WHERE name='proxy_host'")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("behind"));

    QSignalSpy changed(m_settings, &Setting::valueChanged);
    m_settings->setValue(key, QStringLiteral("a.example"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].toString(), key);
    QCOMPARE(storedRows()[key], QStringLiteral("changed"));

    m_settings->setValue(key, QStringLiteral("b.example"));
    QCOMPARE(storedRows()[key], QStringLiteral("b.example"));
}

void TestSetting::keySignals_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("username") << "username" << QByteArray(SIGNAL(userNameChanges(QString)));
    QTest::newRow("useravatar") << "useravatar" << QByteArray(SIGNAL(userAvatarChanges(QString)));
    QTest::newRow("fragment key") << "keyFragmentScreen"
                                  << QByteArray(SIGNAL(keyFragmentScreenChanged()));
    QTest::newRow("quick key") << "keyQuickFragmentScreen"
                               << QByteArray(SIGNAL(keyQuickFragmentScreenChanged()));
    QTest::newRow("snapshot key") << "keySnapshotScreen"
                                  << QByteArray(SIGNAL(keySnapshotScreenChanged()));
}

void TestSetting::keySignals()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, signal);
    QSignalSpy spy(m_settings, signal.constData());
    m_settings->setValue(key, QStringLiteral("F9"));
    m_settings->setValue(key, QStringLiteral("F9")); // unchanged, still announced
    QCOMPARE(spy.count(), 2);
    if (!spy[1].isEmpty())
        QCOMPARE(spy[1][0].toString(), QStringLiteral("F9"));
}

void TestSetting::writeThenDatabaseReadSeesTheValue()
{
    m_settings->setValue(QStringLiteral("count_screen"), 41);
    m_settings->setValue(QStringLiteral("count_screen"), 42);
    QCOMPARE(m_settings->getValueDB(QStringLiteral("count_screen")).toInt(), 42);
    QVERIFY(m_settings->getValueDB(QStringLiteral("no such key")).isNull());
    QVERIFY(m_settings->getValueDB(QStringLiteral("a \"quoted\" key")).isNull());
}

void TestSetting::nestedDatabaseReadsGetTheirOwnValues()
{
    m_settings->setValue(QStringLiteral("outer_key"), QStringLiteral("outer"));
    m_settings->setValue(QStringLiteral("inner_key"), QStringLiteral("inner"));
    m_settings->getValueDB(QStringLiteral("outer_key"));

    // The writer's lock, taken behind the store's back, holds the SQL thread in the write
    // queued before the outer read, so that read still waits when the inner one starts from
    // a timer inside its event loop; the lock goes once both are queued.
    QSqlDatabase lock
        = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
    lock.setDatabaseName(Paths::databaseFile());
    QVERIFY(lock.open());
    {
        QSqlQuery exclusive(lock);
        QVERIFY(exclusive.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        m_settings->setValue(QStringLiteral("queued_key"), QStringLiteral("waits for the lock"));

        QVariant inner;
        bool released = false;
        bool outerDone = false;
        bool nested = false;
        // Goes before the query: a timer that has not fired by then never does.
        QObject context;
        QTimer::singleShot(0, &context, [&] {
            QTimer::singleShot(
                100, &context, [&] { released = exclusive.exec(QStringLiteral("COMMIT")); });
            inner = m_settings->getValueDB(QStringLiteral("inner_key"));
            nested = !outerDone;
        });
        const QVariant outer = m_settings->getValueDB(QStringLiteral("outer_key"));
        outerDone = true;

        QVERIFY2(released, "the outer read came back before the lock went");
        QVERIFY(nested);
        QCOMPARE(outer.toString(), QStringLiteral("outer"));
        QCOMPARE(inner.toString(), QStringLiteral("inner"));
    }
    lock.close();
    lock = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("lock"));
}

void TestSetting::credentialsAreStoredEnciphered()
{
    const QString token = QStringLiteral("5f1c0a77e9b24d0c8f3a6e2b9d4c1e07");
    m_settings->setValue(QStringLiteral("token"), token);
    m_settings->setValue(QStringLiteral("ftp_password"), QStringLiteral("hunter2-is-long"));
    m_settings->setValue(QStringLiteral("ftp_user"), QStringLiteral("alice"), false);
    m_settings->setValue(
        QStringLiteral("drop_box_token_apiv2"), QStringLiteral("dropbox-token-1"), true);
    m_settings->setValue(QStringLiteral("ftp_host"), QStringLiteral("ftp.example"), false);

    const auto rows = storedRows();
    QCOMPARE(
        decrypt(rows[QStringLiteral("ftp_password")], token), QStringLiteral("hunter2-is-long"));
    QVERIFY(rows[QStringLiteral("ftp_password")] != QStringLiteral("hunter2-is-long"));
    QCOMPARE(rows[QStringLiteral("ftp_user")], encrypt(QStringLiteral("alice"), token));
    QCOMPARE(decrypt(rows[QStringLiteral("drop_box_token_apiv2")], token),
        QStringLiteral("dropbox-token-1"));
    QCOMPARE(rows[QStringLiteral("ftp_host")], QStringLiteral("ftp.example"));

    // The four credential keys are deciphered even when the caller asks for a plain read.
    QCOMPARE(m_settings->getValue(QStringLiteral("ftp_password"), false).toString(),
        QStringLiteral("hunter2-is-long"));
    QCOMPARE(m_settings->getValue(QStringLiteral("ftp_user")).toString(), QStringLiteral("alice"));
    QCOMPARE(m_settings->getValue(QStringLiteral("drop_box_token_apiv2"), true).toString(),
        QStringLiteral("dropbox-token-1"));
    QCOMPARE(m_settings->getValue(QStringLiteral("drop_box_token_apiv2")).toString(),
        rows[QStringLiteral("drop_box_token_apiv2")]);
}

void TestSetting::withoutTokenTheStoredRowIsKept()
{
    const QString token = m_settings->getValue(QStringLiteral("token")).toString();
    QVERIFY(!token.isEmpty());
    const QString before = storedRows()[QStringLiteral("ftp_user")];

    m_settings->setValue(QStringLiteral("token"), QString());
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("ftp_user.*kept for this run only")));
    m_settings->setValue(QStringLiteral("ftp_user"), QStringLiteral("bob-the-user"));

    QCOMPARE(storedRows()[QStringLiteral("ftp_user")], before);
    QCOMPARE(m_settings->getValue(QStringLiteral("ftp_user")).toString(),
        QStringLiteral("bob-the-user"));

    // Once an account signs in, the value kept in memory is stored under its token.
    m_settings->setValue(QStringLiteral("token"), token);
    QCOMPARE(
        decrypt(storedRows()[QStringLiteral("ftp_user")], token), QStringLiteral("bob-the-user"));
    QCOMPARE(m_settings->getValue(QStringLiteral("ftp_user")).toString(),
        QStringLiteral("bob-the-user"));
}

void TestSetting::secretsNeverReachTheLog()
{
    const QStringList secrets
        = {QStringLiteral("T0ken-Secret-Value"), QStringLiteral("Pa55word-xyz"),
            QStringLiteral("Pr0xy-Pa55"), QStringLiteral("Dr0pbox-T0ken")};
    {
        MessageCapture capture;
        m_settings->setValue(QStringLiteral("token"), secrets[0]);
        m_settings->setValue(QStringLiteral("sftp_password"), secrets[1]);
        m_settings->setValue(QStringLiteral("proxy_password"), secrets[2]);
        m_settings->setValue(QStringLiteral("drop_box_token_apiv2"), secrets[3], true);
        m_settings->getValue(QStringLiteral("sftp_password"));
        m_settings->getValueDB(QStringLiteral("token"));
        m_settings->getValueDB(QStringLiteral("proxy_password"));
        QVERIFY(MessageCapture::all().contains(QStringLiteral("sftp_password")));
        for (const QString &secret : secrets)
            QVERIFY2(!MessageCapture::all().contains(secret), qPrintable(secret));
    }
    QCOMPARE(m_settings->getValue(QStringLiteral("sftp_password")).toString(), secrets[1]);
}

// A null first-run text: the new file has no row; a null reset text: a reset leaves the key.
void TestSetting::keysStartAndReset_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("firstRun");
    QTest::addColumn<QString>("reset");
    const QString none;
    const QList<std::tuple<const char *, QString, QString>> rows = {
        {"fragmentScreen", "1", "1"},
        {"quickFragmentScreen", "1", "1"},
        {"snapshotFull", "1", "1"},
        {"sendScreen", "1", "1"},
        {"keyFragmentScreen", "Ctrl + Print", "Print Screen"},
        {"keyQuickFragmentScreen", "Shift + Print", "Shift + Print Screen"},
        {"keySnapshotScreen", "Ctrl + Shift + Print", "Ctrl + Shift + Print Screen"},
        {"keySendScreen", "Ctrl + Enter", none},
        {"show_upload", "1", "1"},
        {"show_last_upload", "1", "1"},
        {"showActiveWindow", "1", none},
        {"showCloseSurfaceWindow", "1", "1"},
        {"showMagnifier", none, "1"},
        {"autostart", "1", "1"},
        {"qualityImage", "1", "1"},
        {"useSaveScreen", "0", "0"},
        {"saveScreenFolder", "", none},
        {"widthColorLine", "2", none},
        {"widthTextLine", "6", none},
        {"widthBlureLine", "9", none},
        {"widthBlackoutLine", "9", none},
        {"colorColorLine", "7", "7"},
        {"visibleColorPanel", "1", "1"},
        {"useProxy", "0", "0"},
        // written by the store's first start, not by the new file
        {"type_upload", "kuvo", none},
        {"proxy_host", none, none},
        {"language", none, none},
    };
    m_listedFirstRunRows = 0;
    for (const auto &[key, firstRun, reset] : rows) {
        QTest::newRow(key) << QString::fromLatin1(key) << firstRun << reset;
        m_listedFirstRunRows += firstRun.isNull() ? 0 : 1;
    }
}

void TestSetting::keysStartAndReset()
{
    QFETCH(QString, key);
    QFETCH(QString, firstRun);
    QFETCH(QString, reset);
    QCOMPARE(m_firstRun.size(), m_listedFirstRunRows);
    QCOMPARE(m_firstRun.contains(key), !firstRun.isNull());
    QCOMPARE(m_firstRun.value(key), firstRun);

    const QVariant before = m_settings->getValue(key);
    const QString changed = QStringLiteral("changed by the user");
    m_settings->setValue(key, changed);
    QSignalSpy spy(m_settings, &Setting::valueChanged);
    m_settings->resetDefault();
    QVERIFY(!spy.isEmpty());
    QCOMPARE(spy.last()[0].toString(), QString());
    QCOMPARE(spy.last()[1].toString(), QString());
    const QString expected = reset.isNull() ? changed : reset;
    QCOMPARE(m_settings->getValue(key).toString(), expected);
    QCOMPARE(storedRows()[key], expected);
    if (reset.isNull())
        m_settings->setValue(key, before);
}

void TestSetting::resetHootKey()
{
    m_settings->setValue(QStringLiteral("keyFragmentScreen"), QStringLiteral("F1"));
    m_settings->resetHootKey();
    QCOMPARE(m_settings->getValue(QStringLiteral("keyFragmentScreen")).toString(),
        QStringLiteral("Ctrl + Print Screen"));
    QCOMPARE(m_settings->getValue(QStringLiteral("keyQuickFragmentScreen")).toString(),
        QStringLiteral("Shift + Print Screen"));
    QCOMPARE(m_settings->getValue(QStringLiteral("keySnapshotScreen")).toString(),
        QStringLiteral("Ctrl + Shift + Print Screen"));
}

// What QML sees through the context property "settings".
void TestSetting::properties()
{
    m_settings->setValue(QStringLiteral("useProxy"), QStringLiteral("1"));
    QCOMPARE(m_settings->property("useProxy"), QVariant(true));
    QVERIFY(m_settings->setProperty("showUpload", 0));
    QCOMPARE(m_settings->getValue(QStringLiteral("show_upload")).toInt(), 0);
    QCOMPARE(m_settings->property("showUpload"), QVariant(false));
    QCOMPARE(m_settings->property("typeUpload").toString(), QStringLiteral("kuvo"));
    QVERIFY(m_settings->setProperty("colorColorLine", 4));
    QCOMPARE(m_settings->property("colorColorLine").toInt(), 4);
    QCOMPARE(m_settings->property("isUseMailClient"), QVariant(false));

    QSignalSpy changed(m_settings, &Setting::valueChanged);
    const QVariant width = m_settings->property("widthColorLine");
    QVERIFY(m_settings->setProperty("widthColorLine", width));
    QCOMPARE(changed.count(), 0);
    QVERIFY(m_settings->setProperty("widthColorLine", 5));
    QCOMPARE(changed.count(), 1);

    QSignalSpy tools(m_settings, &Setting::lastGraphToolsChanged);
    QVERIFY(m_settings->setProperty("lastGraphTools", QStringLiteral("Arrow")));
    QCOMPARE(tools.count(), 1);
    QCOMPARE(m_settings->property("lastGraphTools").toString(), QStringLiteral("Arrow"));
}

void TestSetting::languageSwitch()
{
    const char *source = kGamePathTitle;
    QSignalSpy changed(m_settings, &Setting::languageChanged);

    QVERIFY(m_settings->setProperty("language", QStringLiteral("ru")));
    QCOMPARE(QCoreApplication::translate("Setting", source),
        QStringLiteral("Выберите папку для снимков игр"));

    // An unknown language keeps the translation installed before.
    m_settings->setLanguage(QStringLiteral("de"));
    QCOMPARE(QCoreApplication::translate("Setting", source),
        QStringLiteral("Выберите папку для снимков игр"));

    m_settings->setLanguage(QStringLiteral("en"));
    QCOMPARE(QCoreApplication::translate("Setting", source), QString::fromLatin1(source));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(m_settings->property("language").toString(), QStringLiteral("en"));
}

void TestSetting::autostartEntry()
{
    const QString entry = Paths::autostartFile();
    const QByteArray expected = "[Desktop Entry]\nType=Application\nExec='"
        + QCoreApplication::applicationFilePath().toUtf8()
        + "'\nHidden=false\nNoDisplay=false\nName=Kuvo\n";
    auto content = [&] {
        QFile file(entry);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    // The first-run setting is on, so the store's start wrote the entry already.
    QCOMPARE(content(), expected);

    m_settings->setValue(QStringLiteral("autostart"), false);
    QVERIFY(!QFile::exists(entry));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("can`t remove autorun")));
    m_settings->setValue(QStringLiteral("autostart"), false);

    QVERIFY(QDir(QFileInfo(entry).absolutePath()).removeRecursively());
    m_settings->setProperty("autostart", true);
    m_settings->setProperty("autostart", true);
    QCOMPARE(content(), expected);
    QCOMPARE(m_settings->property("autostart"), QVariant(true));
}

void TestSetting::avatarFallsBackToTheBuiltInPicture()
{
    const QString builtIn = QStringLiteral("qrc:/images/images/avatar_default.png");
    m_settings->setValue(QStringLiteral("useravatar"), QString());
    QCOMPARE(m_settings->userAvatar().toString(), builtIn);
    QVERIFY(!QImage(builtIn.mid(3)).isNull());
    m_settings->setValue(
        QStringLiteral("useravatar"), QStringLiteral("https://example.invalid/a.png"));
    QCOMPARE(m_settings->property("userAvatar").toString(),
        QStringLiteral("https://example.invalid/a.png"));
    m_settings->setValue(QStringLiteral("useravatar"), QStringLiteral(""));
    QCOMPARE(m_settings->userAvatar().toString(), builtIn);
}

void TestSetting::clientIdIsStable()
{
    const QString id = m_settings->getUserId();
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$"))
                .match(id)
                .hasMatch());
    QCOMPARE(m_settings->getUserId(), id);
    QCOMPARE(m_settings->getPlatform(), QStringLiteral("linux"));
}

void TestSetting::saveGamePath()
{
    QCOMPARE(m_settings->saveGamePath().toString(), QString());
    QSignalSpy changed(m_settings, &Setting::valueChanged);
    QVERIFY(m_settings->setProperty("saveGamePath", QStringLiteral("/srv/captures")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].toString(), QStringLiteral("saveGamePath"));
    QCOMPARE(m_settings->property("saveGamePath").toString(), QStringLiteral("/srv/captures"));
}

void TestSetting::cancelledFolderChoiceChangesNothing()
{
    const QVariant before = m_settings->saveGamePath();
    QString title;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            title = dialog->windowTitle();
            dialog->close();
        }
    });
    closer.start(20);
    QSignalSpy changed(m_settings, &Setting::valueChanged);
    m_settings->changeSaveGamePath();
    QCOMPARE(title, QString::fromLatin1(kGamePathTitle));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_settings->saveGamePath(), before);
}

QTEST_MAIN(TestSetting)
#include "tst_setting.moc"
