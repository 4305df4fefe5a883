#pragma once

#include "localloginserver.h"

// A real OpenSSH sshd on 127.0.0.1 for the tests, serving only SFTP, with a host key of its
// own: the throwaway user logs in with a password and starts in root(), where uploads land.
class LocalSftpServer : public LocalLoginServer
{
public:
    LocalSftpServer();

    // The host key as a known-hosts line has it after the host: "ssh-ed25519 AAAA...".
    QString hostPublicKey() const;
    // Base64 of the SHA-256 of the key, without padding, as curl's --hostpubsha256 takes it.
    QString hostKeySha256() const;
    // Makes a new host key and restarts the server with it (on the same port when it is
    // still free), as a server does that was replaced, or someone pretending to be it.
    bool replaceHostKey();

protected:
    QStringList requiredPrograms() const override;
    bool prepare() override;
    bool writeConfig(int port) override;
    void launch(QProcess &process) override;

private:
    bool makeHostKey();
};
