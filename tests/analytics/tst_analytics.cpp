#include "analytics.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QtTest>

// Usage events travel to the analytics collector of the stand-in service; the collector
// decodes the form, so what it records is what the analytics host would count.
class TestAnalytics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void eventReachesTheCollectorAndReleasesItself_data();
    void eventReachesTheCollectorAndReleasesItself();
    void eventNotSentIsReleasedWithoutPosting();
    void pageEventPostsEveryTimeAndStays_data();
    void pageEventPostsEveryTimeAndStays();

private:
    QJsonArray events() { return m_service.requests(QStringLiteral("/collect")); }
    QString field(const QJsonObject &request, const char *key) const;
    bool settled(const QPointer<AnalyticsEvent> &event);

    StandinService m_service;
};

void TestAnalytics::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    QVERIFY(m_service.start());
    ServiceAddress::setApiHost(m_service.httpsHost());
    ServiceAddress::setWebHost(m_service.httpsHost());
    ServiceAddress::setFixedHost(m_service.httpHost());
}

void TestAnalytics::init()
{
    m_service.reset();
}

QString TestAnalytics::field(const QJsonObject &request, const char *key) const
{
    return request.value(QStringLiteral("form")).toObject().value(QLatin1String(key)).toString();
}

void TestAnalytics::eventReachesTheCollectorAndReleasesItself_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("ec");
    QTest::addColumn<QString>("ea");

    QTest::newRow("size change") << int(AnalyticsEvent::CategorySize)
                                 << int(AnalyticsEvent::ActionChange) << "pen"
                                 << "size"
                                 << "change";
    QTest::newRow("color click") << int(AnalyticsEvent::CategoryColor)
                                 << int(AnalyticsEvent::ActionClick) << "#ff0000"
                                 << "color"
                                 << "click";
    QTest::newRow("capture hotkey")
        << int(AnalyticsEvent::CategoryCapture) << int(AnalyticsEvent::ActionHotkey) << "fragment"
        << "capture"
        << "hotkey";
    QTest::newRow("tool use") << int(AnalyticsEvent::CategoryTool) << int(AnalyticsEvent::ActionUse)
                              << "arrow"
                              << "tool"
                              << "use";
    // Gaps in the tables: a value nobody named sends the empty word.
    QTest::newRow("category 3") << 3 << int(AnalyticsEvent::ActionUse) << "x"
                                << ""
                                << "use";
    QTest::newRow("action 4") << int(AnalyticsEvent::CategoryTool) << 4 << "x"
                              << "tool"
                              << "";
    QTest::newRow("past the tables") << 99 << -1 << "x"
                                     << ""
                                     << "";
    // A form decoder reads '+' as a space and splits at '&' and '='.
    QTest::newRow("label with form characters")
        << int(AnalyticsEvent::CategoryTool) << int(AnalyticsEvent::ActionClick)
        << QStringLiteral("a+b & c=d 100% %41 #ü/?") << "tool"
        << "click";
    QTest::newRow("empty label") << int(AnalyticsEvent::CategorySize)
                                 << int(AnalyticsEvent::ActionClick) << ""
                                 << "size"
                                 << "click";
}

void TestAnalytics::eventReachesTheCollectorAndReleasesItself()
{
    QFETCH(int, category);
    QFETCH(int, action);
    QFETCH(QString, label);
    QFETCH(QString, ec);
    QFETCH(QString, ea);

    QPointer<AnalyticsEvent> event
        = new AnalyticsEvent(AnalyticsEvent::AnalyticsEventCategory(category),
            AnalyticsEvent::AnalyticsEventAction(action), true, label);

    QTRY_COMPARE_WITH_TIMEOUT(events().size(), 1, 10000);
    const QJsonObject request = events().last().toObject();
    QCOMPARE(request.value(QStringLiteral("method")).toString(), QStringLiteral("POST"));
    QCOMPARE(request.value(QStringLiteral("headers"))
                 .toObject()
                 .value(QStringLiteral("content-type"))
                 .toString(),
        QStringLiteral("application/x-www-form-urlencoded"));
    QCOMPARE(field(request, "ec"), ec);
    QCOMPARE(field(request, "ea"), ea);
    QCOMPARE(field(request, "el"), label);
    QCOMPARE(field(request, "cid"), Setting::instance()->getUserId());
    QVERIFY(!field(request, "cid").isEmpty());
    QCOMPARE(field(request, "v"), QStringLiteral("1"));
    QCOMPARE(field(request, "tid"), QStringLiteral("KV-1"));
    QCOMPARE(field(request, "t"), QStringLiteral("event"));
    QCOMPARE(field(request, "an"), QStringLiteral("Kuvo"));
    QCOMPARE(field(request, "av"), QStringLiteral("3.0.15"));
    QTRY_VERIFY_WITH_TIMEOUT(event.isNull(), 5000);
}

void TestAnalytics::eventNotSentIsReleasedWithoutPosting()
{
    QPointer<AnalyticsEvent> silent = new AnalyticsEvent(
        AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionUse, false, QStringLiteral("silent"));
    QTRY_VERIFY_WITH_TIMEOUT(silent.isNull(), 5000);

    // A later event arriving alone shows the silent one never went out before it.
    new AnalyticsEvent(
        AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionUse, true, QStringLiteral("loud"));
    QTRY_COMPARE_WITH_TIMEOUT(events().size(), 1, 10000);
    const QJsonObject request = events().last().toObject();
    QCOMPARE(field(request, "el"), QStringLiteral("loud"));
}

void TestAnalytics::pageEventPostsEveryTimeAndStays_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("ec");
    QTest::addColumn<QString>("ea");

    QTest::newRow("capture click") << 2 << 1 << "capture"
                                   << "click";
    QTest::newRow("tool use") << 5 << 5 << "tool"
                              << "use";
    QTest::newRow("negative") << -1 << -1 << ""
                              << "";
    QTest::newRow("past the tables") << 99 << 99 << ""
                                     << "";
    QTest::newRow("in the gaps") << 4 << 3 << ""
                                 << "";
}

void TestAnalytics::pageEventPostsEveryTimeAndStays()
{
    QFETCH(int, category);
    QFETCH(int, action);
    QFETCH(QString, ec);
    QFETCH(QString, ea);

    // As the QML engine makes it: default constructor, then the properties.
    QPointer<AnalyticsEvent> event = new AnalyticsEvent;
    event->setProperty("category", category);
    event->setProperty("action", action);
    event->setProperty("label", QStringLiteral("page"));
    QVERIFY(QMetaObject::invokeMethod(event, "send"));

    QTRY_COMPARE_WITH_TIMEOUT(events().size(), 1, 10000);
    QJsonObject request = events().last().toObject();
    QCOMPARE(field(request, "ec"), ec);
    QCOMPARE(field(request, "ea"), ea);
    QCOMPARE(field(request, "el"), QStringLiteral("page"));

    // The page keeps using its object: a second post after the first has finished.
    QVERIFY(settled(event));
    event->setProperty("label", QStringLiteral("again"));
    QVERIFY(QMetaObject::invokeMethod(event, "send"));
    QTRY_COMPARE_WITH_TIMEOUT(events().size(), 2, 10000);
    request = events().last().toObject();
    QCOMPARE(field(request, "el"), QStringLiteral("again"));
    QVERIFY(settled(event));
    delete event;
}

// Waits until no post of event runs (each has a manager of its own, let go when it ends) and
// what its end let go is gone; whether event itself is still there.
bool TestAnalytics::settled(const QPointer<AnalyticsEvent> &event)
{
    const auto posting
        = [&] { return event && !event->findChildren<QNetworkAccessManager *>().isEmpty(); };
    if (!QTest::qWaitFor([&] { return !posting(); }, 10000))
        return false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !event.isNull();
}

QTEST_GUILESS_MAIN(TestAnalytics)
#include "tst_analytics.moc"
