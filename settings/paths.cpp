#include "paths.h"

#include <QDir>

namespace Paths {

QString settingsFolder()
{
    return QDir::homePath() + QStringLiteral("/.kuvo/");
}

QString tempFolder()
{
    return settingsFolder() + QStringLiteral("tmp/");
}

QString databaseFile()
{
    return settingsFolder() + QStringLiteral("setting");
}

QString autostartFile()
{
    return QDir::homePath() + QStringLiteral("/.config/autostart/Kuvo.desktop");
}

} // namespace Paths
