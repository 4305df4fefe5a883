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
#include "settingwidget.h"
#include "uploadwidget.h"

#include <QDebug>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace {

// The capture view shows one still picture of the whole desktop and redraws only what the
// pointer changes. Qt Quick's default OpenGL path uploads that picture as textures and redraws
// and sends every full frame, which on machines without a GPU (virtual machines, remote
// desktops, Xvfb) is Mesa's software rasteriser at a tenth of a second or more per 4K frame; the
// raster painter repaints and sends only the changed areas. A backend the user chose wins. Set
// before the first window, which comes after this part is made.
void chooseSceneGraph()
{
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")
        && qEnvironmentVariableIsEmpty("QMLSCENE_DEVICE"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
}

} // namespace

Windows *kuvoWindows(Core *core)
{
    chooseSceneGraph();
    return new WindowSet(core);
}

WindowSet::WindowSet(Core *core)
    : QObject(core)
    , m_core(core)
{
    m_clipboard = QGuiApplication::clipboard();
    startUploads();
}

void WindowSet::showSettingsTrouble(const QString &text)
{
    Logging::instance()->writeMessage(text);
    auto *message = new MessageDialog;
    message->setObjectName(QStringLiteral("settingsTroubleDialog"));
    connect(message, &BasicWindow::closed, message, &QObject::deleteLater);
    message->information(Core::tr("Settings"), text);
    message->show();
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
