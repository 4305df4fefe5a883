#ifndef LOGGING_H
#define LOGGING_H

#include <QFile>
#include <QObject>

// The error log "~/.kuvo/error.log": dated entries, kept for seven days. Every entry opens,
// prunes and closes the file again, so nothing stays buffered if the program ends abruptly.
class Logging : public QObject
{
    Q_OBJECT
public:
    static Logging *instance();

    void writeMessage(const QString &message);
    bool openFile();

private:
    explicit Logging(QObject *parent = nullptr);
    void prune();

    static Logging *m_instance;
    QString m_fileName;
    QFile m_file;
};

#endif // LOGGING_H
