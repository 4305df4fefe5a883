#include "paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <sys/stat.h>

namespace Paths {

QString settingsFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo/");
}

QString tempFolder()
{
    return settingsFolder() + QStringLiteral("tmp/");
}

QString audioFolder()
{
    return tempFolder() + QStringLiteral("audio/");
}

QString databaseFile()
{
    return settingsFolder() + QStringLiteral("setting");
}

QString autostartFile()
{
    return QDir::homePath() + QStringLiteral("/.config/autostart/Kuvo.desktop");
}

void prepareFolders()
{
    for (const QString &folder : {settingsFolder(), tempFolder()})
        makePrivateFolder(folder);
    QDirIterator entries(settingsFolder(),
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (entries.hasNext())
        makePrivate(entries.next());
}

bool makePrivateFolder(const QString &folder)
{
    // Made private from the start: a mode set afterwards leaves a moment open.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    const bool made = QDir().mkpath(folder);
    makePrivate(folder);
    return made;
}

void makePrivate(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    // A link is left alone: its mode is not its own and its target may be anyone's.
    if (::lstat(name.constData(), &info) != 0 || S_ISLNK(info.st_mode))
        return;
    if (info.st_mode & (S_IRWXG | S_IRWXO))
        ::chmod(name.constData(), info.st_mode & S_IRWXU);
}

} // namespace Paths
