#include "fulldisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

QString fillerName(const QString &folder)
{
    return folder + QStringLiteral("/.filler");
}

} // namespace

FullDisk::FullDisk(const QString &folder, qint64 size)
    : m_folder(folder)
{
    if (::geteuid() != 0 || !QDir().mkpath(folder))
        return;
    m_mounted = run(QStringLiteral("mount"),
        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
            QStringLiteral("size=%1,mode=0700").arg(size), QStringLiteral("tmpfs"), folder});
}

FullDisk::~FullDisk()
{
    if (m_mounted)
        run(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
}

bool FullDisk::fillLeaving(qint64 left)
{
    QFile filler(fillerName(m_folder));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size()) { }
    // tmpfs counts whole pages: free `left` rounded up to one.
    const qint64 keep = qMax<qint64>(0, filler.size() - ((left + 4095) / 4096) * 4096);
    return filler.resize(keep);
}

void FullDisk::empty()
{
    QFile::remove(fillerName(m_folder));
}

bool FullDisk::makeReadOnly()
{
    return m_mounted
        && run(QStringLiteral("mount"),
            {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_folder});
}

QString FullDisk::skipReason()
{
    return QStringLiteral("mounting a small tmpfs needs root");
}
