#include "handledropboxupload.h"
#include "logging.h"
#include "qdropbox.h"
#include "qdropboxfile.h"

#include <QDebug>
#include <QFileInfo>

namespace {

const QString kFolder = QStringLiteral("/Kuvo/");

} // namespace

HandleDropboxUpload::HandleDropboxUpload(QDropbox *api, QObject *parent)
    : QObject(parent)
    , m_api(api ? api : new QDropbox(this))
{
    connect(m_api, &QDropbox::tokenRenewed, this, &HandleDropboxUpload::tokenRenewed);
    connect(m_api, &QDropbox::tokenRenewFailed, this, &HandleDropboxUpload::tokenRenewFailed);
    // The renewal we wait for goes with the client.
    connect(m_api, &QObject::destroyed, this,
        [this] { tokenRenewFailed(tr("The upload to Dropbox was stopped.")); });
}

void HandleDropboxUpload::upload(const QString &file)
{
    if (m_running) {
        qDebug() << Q_FUNC_INFO << "an upload is running already";
        return;
    }
    m_running = true;
    m_path = file;
    qDebug() << Q_FUNC_INFO << file;
    if (!QDropbox::isLinked()) {
        fail(tr("Dropbox is not linked. Link your Dropbox account in the settings to upload "
                "there."));
        return;
    }
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable()) {
        fail(tr("The file %1 cannot be read and was not uploaded").arg(file));
        return;
    }
    if (QDropbox::needsRenewal() && m_api) {
        m_waitingForToken = true;
        m_api->renewToken();
        return;
    }
    send();
}

void HandleDropboxUpload::send()
{
    auto *transfer = new QDropboxFile(this);
    m_transfer = transfer;
    connect(transfer, &QDropboxFile::uploadProgress, this, &HandleDropboxUpload::uploadProgress);
    connect(transfer, &QDropboxFile::shared, this, &HandleDropboxUpload::succeed);
    connect(transfer, &QDropboxFile::failed, this, &HandleDropboxUpload::fail);
    transfer->upload(m_path, kFolder + QFileInfo(m_path).fileName());
}

void HandleDropboxUpload::tokenRenewed()
{
    if (!m_waitingForToken)
        return;
    m_waitingForToken = false;
    send();
}

void HandleDropboxUpload::tokenRenewFailed(const QString &text)
{
    if (!m_waitingForToken)
        return;
    m_waitingForToken = false;
    fail(text);
}

void HandleDropboxUpload::cancel()
{
    if (!m_running)
        return;
    qDebug() << Q_FUNC_INFO << m_path;
    m_waitingForToken = false;
    if (m_transfer)
        m_transfer->abort();
    dropTransfer();
    m_running = false;
    emit failed(tr("The upload to Dropbox was cancelled."));
}

void HandleDropboxUpload::succeed(const QString &link)
{
    if (!m_running)
        return;
    dropTransfer();
    m_running = false;
    emit uploaded(link);
}

void HandleDropboxUpload::fail(const QString &text)
{
    if (!m_running)
        return;
    dropTransfer();
    m_running = false;
    Logging::instance()->writeMessage(
        tr("Upload of %1 to Dropbox failed: %2").arg(QFileInfo(m_path).fileName(), text));
    emit failed(text);
}

void HandleDropboxUpload::dropTransfer()
{
    if (m_transfer)
        m_transfer->deleteLater();
    m_transfer = nullptr;
}
