#ifndef HANDLEFTPUPLOAD_H
#define HANDLEFTPUPLOAD_H

#include "curlupload.h"

// Uploads to the FTP server of the settings ("ftp_host", "ftp_port", "ftp_path", "ftp_user",
// "ftp_password", "ftp_base_url").
class HandleFTPUpload : public CurlUpload
{
    Q_OBJECT
public:
    explicit HandleFTPUpload(QObject *parent = nullptr);

protected:
    QString availableText() const override;
};

#endif // HANDLEFTPUPLOAD_H
