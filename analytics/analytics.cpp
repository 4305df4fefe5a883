#include "analytics.h"
#include "networkaccessmanager.h"
#include "serviceaddress.h"
#include "setting.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <cstddef>

namespace {

// A post that hangs must not keep a forgotten event alive for the rest of the session.
constexpr int kPostTimeoutMs = 30000;

struct Word
{
    int value;
    const char *word;
};

const Word kCategoryWords[] = {
    {AnalyticsEvent::CategorySize, "size"},
    {AnalyticsEvent::CategoryColor, "color"},
    {AnalyticsEvent::CategoryCapture, "capture"},
    {AnalyticsEvent::CategoryTool, "tool"},
};

const Word kActionWords[] = {
    {AnalyticsEvent::ActionChange, "change"},
    {AnalyticsEvent::ActionClick, "click"},
    {AnalyticsEvent::ActionHotkey, "hotkey"},
    {AnalyticsEvent::ActionUse, "use"},
};

// Pages pass plain numbers, so the value is looked up rather than used as an index.
template <std::size_t N> QString wordOf(const Word (&table)[N], int value)
{
    for (const Word &entry : table) {
        if (entry.value == value)
            return QLatin1String(entry.word);
    }
    return QString();
}

} // namespace

AnalyticsEvent::AnalyticsEvent(QObject *parent)
    : QObject(parent)
{
}

AnalyticsEvent::AnalyticsEvent(AnalyticsEventCategory category, AnalyticsEventAction action,
    bool is_sendEvent, const QString &label, QObject *parent)
    : QObject(parent)
    , m_category(category)
    , m_action(action)
    , m_label(label)
    , m_releaseWhenDone(parent == nullptr)
{
    if (is_sendEvent)
        send();
    else if (m_releaseWhenDone)
        deleteLater();
}

QString AnalyticsEvent::categoryName(int category)
{
    return wordOf(kCategoryWords, category);
}

QString AnalyticsEvent::actionName(int action)
{
    return wordOf(kActionWords, action);
}

void AnalyticsEvent::setCategory(int category)
{
    if (m_category == category)
        return;
    m_category = category;
    emit categoryChanged();
}

void AnalyticsEvent::setAction(int action)
{
    if (m_action == action)
        return;
    m_action = action;
    emit actionChanged();
}

void AnalyticsEvent::setLabel(const QString &label)
{
    if (m_label == label)
        return;
    m_label = label;
    emit labelChanged();
}

void AnalyticsEvent::send()
{
    QNetworkRequest request(QUrl(ServiceAddress::serverAnalitics()));
    request.setHeader(
        QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    // Each post has a manager of its own, so a page may send the same event again while an
    // earlier post still runs.
    auto *manager = new NetworkAccessManager(this);
    QNetworkReply *reply = manager->post(request, formData());
    // Nothing in the answer is ever read: once its headers are in, the rest is not fetched.
    connect(reply, &QNetworkReply::metaDataChanged, reply, &QNetworkReply::abort);
    QTimer::singleShot(kPostTimeoutMs, reply, &QNetworkReply::abort);
    ++m_pending;
    connect(reply, &QNetworkReply::finished, this, [this, manager, reply] {
        if (reply->error() != QNetworkReply::NoError)
            qDebug() << Q_FUNC_INFO << categoryName(m_category) << actionName(m_action)
                     << reply->errorString();
        manager->deleteLater();
        postFinished();
    });
}

QByteArray AnalyticsEvent::formData() const
{
    return NetworkAccessManager::formBody({
        {QStringLiteral("v"), QStringLiteral("1")},
        {QStringLiteral("tid"), QStringLiteral("KV-1")},
        {QStringLiteral("cid"), Setting::instance()->getUserId()},
        {QStringLiteral("t"), QStringLiteral("event")},
        {QStringLiteral("ec"), categoryName(m_category)},
        {QStringLiteral("ea"), actionName(m_action)},
        {QStringLiteral("el"), m_label},
        {QStringLiteral("an"), QCoreApplication::applicationName()},
        {QStringLiteral("av"), QCoreApplication::applicationVersion()},
    });
}

void AnalyticsEvent::postFinished()
{
    --m_pending;
    if (m_releaseWhenDone && m_pending == 0)
        deleteLater();
}
