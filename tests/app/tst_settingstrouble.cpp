#include "core.h"
#include "coretestsupport.h"
#include "messagedialog.h"
#include "windowtestsupport.h"

#include <QDir>
#include <QFile>

namespace {

QString kuvoFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo");
}

} // namespace

// A settings file found damaged at start: the program runs on, and the user is told once, in a
// message window and the error log, where the damaged file went.
class TestSettingsTrouble : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void damagedFileIsToldOnce();

private:
    StandinService m_service;
};

void TestSettingsTrouble::initTestCase()
{
    QVERIFY(QDir().mkpath(kuvoFolder()));
    QFile damaged(kuvoFolder() + QStringLiteral("/setting"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray("not a database at all\n").repeated(300));
    damaged.close();
    QVERIFY(startSignedIn(m_service));
    Core::instance();
}

void TestSettingsTrouble::damagedFileIsToldOnce()
{
    const QStringList aside
        = QDir(kuvoFolder()).entryList({ QStringLiteral("setting.damaged-*") }, QDir::Files);
    QCOMPARE(aside.size(), 1);
    const QString where = kuvoFolder() + QLatin1Char('/') + aside.first();

    QTRY_COMPARE_WITH_TIMEOUT(visibleMessageWindows(), 1, 5000);
    const QList<MessageDialog *> shown = windowsOf<MessageDialog>();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first()->data(QStringLiteral("message")).toString().contains(where),
        qPrintable(shown.first()->data(QStringLiteral("message")).toString()));

    QFile log(kuvoFolder() + QStringLiteral("/error.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(log.readAll()).count(where), 1);
}

QTEST_MAIN(TestSettingsTrouble)
#include "tst_settingstrouble.moc"
