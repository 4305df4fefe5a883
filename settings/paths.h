#ifndef PATHS_H
#define PATHS_H

#include <QString>

// Folders and files the program keeps under the user's home folder. Read from HOME on every
// call, so a test that points HOME somewhere else before start-up gets its own tree.
namespace Paths {

QString settingsFolder(); // home + "/.kuvo/"
QString tempFolder(); // home + "/.kuvo/tmp/"
QString databaseFile(); // home + "/.kuvo/setting"
QString autostartFile(); // home + "/.config/autostart/Kuvo.desktop"

} // namespace Paths

#endif // PATHS_H
