#ifndef QDROPBOXINFO_H
#define QDROPBOXINFO_H

#include "qdropbox.h"

#include <QObject>
#include <QPointer>

class QNetworkReply;

// Reads the linked account's name, e-mail and space from Dropbox into the settings that the
// settings page shows: "drop_box_display_name", "drop_box_email", "drop_box_total",
// "drop_box_usage" and "drop_box_quota". Says updated() or failed() once per update().
class QDropboxInfo : public QObject
{
    Q_OBJECT
public:
    explicit QDropboxInfo(QObject *parent = nullptr);

    void update();
    // Stops without a word and writes nothing.
    void abort();

signals:
    void updated();
    void failed(const QString &text);

private:
    void accountRead();
    void spaceRead();
    void ask(const char *endpoint, void (QDropboxInfo::*done)());
    QDropbox::Answer takeAnswer();

    QPointer<QNetworkReply> m_reply;
    QString m_displayName;
    QString m_email;
};

#endif // QDROPBOXINFO_H
