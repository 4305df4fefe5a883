#include "curluploadthread.h"
#include "curltransfer.h"

CurlUploadThread::CurlUploadThread(
    const CurlTarget &target, std::unique_ptr<QFile> file, const QString &fileName, QObject *parent)
    : QThread(parent)
    , m_target(target)
    , m_file(std::move(file))
    , m_fileName(fileName)
{
    // Read and closed there, so it belongs there.
    m_file->moveToThread(this);
}

CurlUploadThread::~CurlUploadThread()
{
    cancel();
    wait();
}

void CurlUploadThread::run()
{
    CurlTransfer transfer(m_target, m_cancelled);
    const bool ok = transfer.upload(
        *m_file, m_fileName, [this](qint64 sent, qint64 total) { emit progressed(sent, total); });
    m_file.reset();
    emit done(ok, transfer.errorText());
}
