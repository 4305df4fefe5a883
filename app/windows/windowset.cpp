#include "windowset.h"
#include "autorizationwidget.h"
#include "colorstrip.h"
#include "core.h"
#include "lastuploadwidget.h"
#include "logging.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "networkexchange.h"
#include "proxywidget.h"
#include "questionqueue.h"
#include "settingwidget.h"
#include "uploadwidget.h"

#include <QDebug>
#include <QGuiApplication>

WindowSet::WindowSet(Core *core)
    : QObject(core)
    , m_core(core)
{
    m_clipboard = QGuiApplication::clipboard();
    m_questions = new QuestionQueue(this);
    startUploads();
}

void WindowSet::showSettingsTrouble(const QString &text)
{
    Logging::instance()->writeMessage(text);
    showMessageWindow(Core::tr("Settings"), text)
        ->setObjectName(QStringLiteral("settingsTroubleDialog"));
}

QColor WindowSet::getColorFromX(int x) const
{
    return ColorStrip::colorFromX(x);
}

void WindowSet::showMessage(const QString &title, const QString &message)
{
    showMessageWindow(title, message);
}

void WindowSet::startUploads()
{
    m_exchange = new NetworkExchange(this);
    connect(m_exchange, &NetworkExchange::startUpload, this, &WindowSet::showUploadPage);
    connect(m_exchange, &NetworkExchange::readyLink, this, &WindowSet::showUploadPage);
    connect(m_exchange, &NetworkExchange::readyLink, m_core, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::readyLinkAfterUpload, m_core, &Core::setLastLink);
    connect(m_exchange, &NetworkExchange::readyLinkAfterUpload, this, [this](const QString &link) {
        m_roundLinked = true;
        m_core->keepDeliveredLink(link);
    });
    connect(m_exchange, &NetworkExchange::linkWithdrawn, m_core, &Core::withdrawLink);
    connect(m_exchange, &NetworkExchange::sentToServiceInstead, this,
        [this](const QString &text) { m_roundNotices << text; });
    connect(m_exchange, &NetworkExchange::error, this, &WindowSet::uploadFailed);
    connect(
        m_exchange, &NetworkExchange::internetNotAvailable, this, &WindowSet::internetNotAvailable);
}

MainToolWidget *WindowSet::mainToolWidget()
{
    if (!m_mainToolWidget)
        m_mainToolWidget = new MainToolWidget;
    return m_mainToolWidget;
}

SettingWidget *WindowSet::settingWidget()
{
    if (!m_settingWidget) {
        m_settingWidget = new SettingWidget;
        connect(m_settingWidget, &BasicWindow::closed, this, &WindowSet::deleteSettingWindow);
    }
    return m_settingWidget;
}

AutorizationWidget *WindowSet::autorizationWidget()
{
    if (!m_autorizationWidget)
        m_autorizationWidget = new AutorizationWidget;
    return m_autorizationWidget;
}

UploadWidget *WindowSet::uploadWidget()
{
    if (!m_uploadWidget)
        m_uploadWidget = new UploadWidget;
    return m_uploadWidget;
}

LastUploadWidget *WindowSet::lastUploadWidget()
{
    if (!m_lastUploadWidget)
        m_lastUploadWidget = new LastUploadWidget;
    return m_lastUploadWidget;
}

ProxyWidget *WindowSet::proxyWidget()
{
    if (!m_proxyWidget) {
        m_proxyWidget = new ProxyWidget;
        connect(m_proxyWidget, &BasicWindow::closed, m_core, &Core::closeProxyWindow);
    }
    return m_proxyWidget;
}

void WindowSet::showSetting()
{
    SettingWidget *window = settingWidget();
    window->show();
    window->raise();
}

void WindowSet::showProxyWidget()
{
    proxyWidget()->show();
}

void WindowSet::deleteSettingWindow()
{
    if (m_settingWidget)
        m_settingWidget->deleteLater();
    m_settingWidget = nullptr;
    // "Change" on the hot-key page releases every hot key; closing the window without
    // accepting must not leave them released.
    m_core->updateHook();
}

void WindowSet::showAutorization()
{
    AutorizationWidget *window = autorizationWidget();
    window->show();
    window->raise();
}

void WindowSet::registrationWidgetDestroy()
{
    qDebug() << Q_FUNC_INFO;
    if (!m_autorizationWidget)
        return;
    m_autorizationWidget->close();
    m_autorizationWidget->deleteLater();
    m_autorizationWidget = nullptr;
}
