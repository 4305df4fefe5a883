#include "logging.h"
#include "paths.h"
#include "setting.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QSaveFile>

namespace {

const QString kDateFormat = QStringLiteral("dd-MM-yyyy hh:mm:ss");

// The date that opens an entry, or an invalid one for a continuation line.
QDateTime entryDate(const QByteArray &line)
{
    const int tab = line.indexOf('\t');
    if (tab <= 0)
        return QDateTime();
    return QDateTime::fromString(QString::fromUtf8(line.left(tab)), kDateFormat);
}

} // namespace

Logging *Logging::m_instance = nullptr;

Logging *Logging::instance()
{
    if (!m_instance)
        m_instance = new Logging;
    return m_instance;
}

Logging::Logging(QObject *parent)
    : QObject(parent)
{
    Setting::instance();
    m_fileName = QDir::homePath() + QStringLiteral("/.kuvo/error.log");
}

void Logging::writeMessage(const QString &message)
{
    if (!m_file.exists() || !m_file.isOpen())
        openFile();
    // One entry is a line or a few, not whatever a server chose to send.
    constexpr int kLongest = 2000;
    QString text = message.left(kLongest);
    text.replace(QLatin1Char('\n'), QStringLiteral("\n\t\t\t\t\t"));
    m_file.write(QDateTime::currentDateTime().toString(kDateFormat).toUtf8() + '\t' + text.toUtf8()
        + "\r\n");
    m_file.close();
}

bool Logging::openFile()
{
    m_file.setFileName(m_fileName);
    prune();
    if (!m_file.open(QIODevice::Append | QIODevice::Unbuffered)) {
        qDebug() << Q_FUNC_INFO << m_file.errorString();
        return false;
    }
    Paths::makePrivate(m_fileName);
    return true;
}

// Drops entries older than seven days. An entry is its dated line together with the
// continuation lines after it, so an entry is kept or dropped whole, byte for byte.
void Logging::prune()
{
    QFile log(m_fileName);
    if (!log.open(QIODevice::ReadOnly))
        return;
    // Entry dates carry whole seconds; so does the boundary, or an entry exactly seven days
    // old would lose to the milliseconds of now.
    const QDateTime oldest
        = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch()).addDays(-7);
    QByteArray kept;
    bool keeping = false;
    bool dropped = false;
    while (!log.atEnd()) {
        const QByteArray line = log.readLine();
        const QDateTime date = entryDate(line);
        if (date.isValid())
            keeping = date >= oldest;
        if (keeping)
            kept += line;
        else
            dropped = true;
    }
    log.close();
    if (!dropped)
        return;

    QSaveFile pruned(m_fileName);
    if (!pruned.open(QIODevice::WriteOnly) || pruned.write(kept) != kept.size() || !pruned.commit())
        qDebug() << Q_FUNC_INFO << "cannot prune" << m_fileName << pruned.errorString();
}
