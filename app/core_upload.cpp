// The last link, the history page and the sign-in; the window part runs the uploads.

#include "autorization.h"
#include "browser.h"
#include "core.h"
#include "serviceaddress.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QUrl>

bool Core::checkAutorization()
{
    if (Autorization::isAuth())
        return true;
    m_account->resetAutorization();
    windows()->showAutorization();
    return false;
}

UploadModel *Core::uploadModel()
{
    return windows()->uploadModel();
}

void Core::uploadData(const QStringList &files)
{
    if (!checkAutorization())
        return;
    windows()->uploadData(files);
}

void Core::uploadDataZip(const QStringList &files)
{
    qDebug() << Q_FUNC_INFO << files;
    if (!checkAutorization())
        return;
    windows()->uploadDataZip(files);
}

void Core::cancelUpload()
{
    windows()->cancelUpload();
}

void Core::showUploadPage()
{
    windows()->showUploadPage();
}

void Core::showLastUploadPage()
{
    windows()->showLastUploadPage();
}

void Core::showErrorWidget(const QString &text)
{
    windows()->showErrorWidget(text);
}

void Core::uploadFailed(const QString &text, const QString &file, bool signInAgain)
{
    windows()->uploadFailed(text, file, signInAgain);
}

void Core::internetNotAvailable(const QString &file)
{
    windows()->internetNotAvailable(file);
}

void Core::internetNotAvailableResult(int result, const QString &file)
{
    windows()->internetNotAvailableResult(result, file);
}

void Core::checkFtpConnecrion(const QString &username, const QString &password, const QString &host,
    const QString &path, const QVariant &port)
{
    windows()->checkFtpConnecrion(username, password, host, path, port);
}

void Core::checkSFTPConnecrion(const QString &username, const QString &password,
    const QString &host, const QString &path, const QVariant &port)
{
    windows()->checkSFTPConnecrion(username, password, host, path, port);
}

void Core::setLastLink(const QString &link)
{
    qDebug() << Q_FUNC_INFO << link;
    if (link != m_lastLink) {
        m_lastLink = link;
        emit lastLinkChanged(m_lastLink);
        writeClipboard(link);
    }
    emit lastLinkChanged(m_lastLink);
}
// A link that leads nowhere is taken back from wherever it was offered; the last link is then
// the last one whose upload went through.
void Core::withdrawLink(const QString &link)
{
    qDebug() << Q_FUNC_INFO << link;
    if (m_clipboard && m_clipboard->text() == link)
        m_clipboard->clear();
    if (m_lastLink != link)
        return;
    m_lastLink = m_storedLink;
    emit lastLinkChanged(m_lastLink);
}
void Core::openLastLink()
{
    if (!m_lastLink.isEmpty())
        openInBrowser(QUrl(m_lastLink), m_lastLink);
}
void Core::copyLastLink()
{
    writeClipboard(m_lastLink);
}
void Core::writeClipboard(const QString &text)
{
    if (m_clipboard)
        m_clipboard->setText(text, QClipboard::Clipboard);
}
// The address signs the token with the time, so that the web site can sign the user in.
void Core::openHistory()
{
    if (!checkAutorization())
        return;
    const QString token = Autorization::token();
    const QString seconds = QString::number(QDateTime::currentMSecsSinceEpoch() / 1000);
    const QByteArray stamp
        = QCryptographicHash::hash(token.toUtf8() + seconds.toUtf8(), QCryptographicHash::Md5)
              .toHex();
    // The token stays out of the error log.
    openInBrowser(QUrl(ServiceAddress::serverHistory() + token + QLatin1Char('/')
                      + QString::fromLatin1(stamp) + QLatin1Char('/') + seconds),
        ServiceAddress::serverHistory());
}
void Core::openHelp()
{
    const QString help
        = QStringLiteral("https://") + ServiceAddress::webHost() + QStringLiteral("/support");
    openInBrowser(QUrl(help), help);
}
// Without a browser a click would do nothing visible; the user is told, as the sign-in does.
void Core::openInBrowser(const QUrl &url, const QString &address)
{
    if (!Browser::open(url, address))
        showErrorWidget(Browser::failureText());
}
