#ifndef QDROPBOXAUTHSOCKET_H
#define QDROPBOXAUTHSOCKET_H

#include "serverlistener.h"

// Receives Dropbox's redirect at the end of the link on the web page. Dropbox only sends the
// browser back to an address registered for the app, so the port is fixed; like every
// listener of ours it is bound to the loopback address only. Only the answer to the link this
// program asked for passes: a code with any other state is dropped.
class QDropboxAuthSocket : public ServerListener
{
    Q_OBJECT
public:
    static constexpr quint16 Port = 6609;

    explicit QDropboxAuthSocket(QObject *parent = nullptr);

    // Listens on 127.0.0.1:6609; false when the port is taken.
    bool open();
    static QString redirectUri();

signals:
    void authorized(const QString &code);
    // The user declined the link in the browser, or Dropbox refused it.
    void declined(const QString &error);
};

#endif // QDROPBOXAUTHSOCKET_H
