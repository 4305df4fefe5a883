// Upload routes, the last link and the history page.

#include "autorization.h"
#include "core.h"
#include "networkexchange.h"
#include "serviceaddress.h"
#include "uploadmodel.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

bool Core::checkAutorization()
{
    if (Autorization::isAuth())
        return true;
    m_account->resetAutorization();
    return false;
}

UploadModel *Core::uploadModel()
{
    if (!m_uploadModel) {
        m_uploadModel = new UploadModel(this);
        m_exchange->setUploadModel(m_uploadModel);
    }
    return m_uploadModel;
}

void Core::uploadData(const QStringList &files)
{
    if (!checkAutorization())
        return;
    uploadModel();
    m_exchange->uploadData(files);
}

void Core::uploadDataZip(const QStringList &files)
{
    qDebug() << Q_FUNC_INFO << files;
    if (!checkAutorization())
        return;
    uploadModel();
    m_exchange->uploadDataZip(files);
}

void Core::cancelUpload()
{
    m_exchange->cancelUpload();
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

void Core::openLastLink()
{
    if (!m_lastLink.isEmpty())
        QDesktopServices::openUrl(QUrl(m_lastLink));
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
    QDesktopServices::openUrl(QUrl(ServiceAddress::serverHistory() + token + QLatin1Char('/')
        + QString::fromLatin1(stamp) + QLatin1Char('/') + seconds));
}
