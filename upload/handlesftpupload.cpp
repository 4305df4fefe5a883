#include "handlesftpupload.h"

HandleSFTPUpload::HandleSFTPUpload(QObject *parent)
    : CurlUpload(CurlTarget::Sftp, parent)
{
}

QString HandleSFTPUpload::availableText() const
{
    return tr("SFTP connection is avaliable");
}
