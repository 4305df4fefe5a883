#ifndef HANDLESFTPUPLOAD_H
#define HANDLESFTPUPLOAD_H

#include "curlupload.h"

// Uploads to the SFTP server of the settings ("sftp_host", "sftp_port", "sftp_path", "sftp_user",
// "sftp_password", "sftp_base_url"). A server's host key is trusted the first time and kept in
// "~/.kuvo/known_hosts"; a server that later shows another key is refused.
class HandleSFTPUpload : public CurlUpload
{
    Q_OBJECT
public:
    explicit HandleSFTPUpload(QObject *parent = nullptr);

protected:
    QString availableText() const override;
};

#endif // HANDLESFTPUPLOAD_H
