#include "handleftpupload.h"

HandleFTPUpload::HandleFTPUpload(QObject *parent)
    : CurlUpload(CurlTarget::Ftp, parent)
{
}

QString HandleFTPUpload::availableText() const
{
    return tr("FTP connection is avaliable");
}
