#pragma once

#include "localloginserver.h"

// A real vsftpd on 127.0.0.1 for the tests: the throwaway user logs in with a password and is
// locked into root(), where uploads land; a wrong password is refused without delay.
class LocalFtpServer : public LocalLoginServer
{
public:
    LocalFtpServer();
    // Bytes a second that a session may move; 0, the default, sets no limit. Before start().
    void setMaxRate(int bytesPerSecond) { m_maxRate = bytesPerSecond; }

protected:
    QStringList requiredPrograms() const override;
    bool prepare() override;
    bool writeConfig(int port) override;
    void launch(QProcess &process) override;
    QString startErrors() const override;

private:
    int m_maxRate = 0;
};
