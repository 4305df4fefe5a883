#ifndef PATHS_H
#define PATHS_H

#include <QString>

// Folders and files the program keeps under the user's home folder. Read from HOME on every
// call, so a test that points HOME somewhere else before start-up gets its own tree.
namespace Paths {

QString settingsFolder(); // home + "/.kuvo/"
QString tempFolder(); // home + "/.kuvo/tmp/"
QString audioFolder(); // home + "/.kuvo/tmp/audio/"
QString databaseFile(); // home + "/.kuvo/setting"
QString autostartFile(); // home + "/.config/autostart/Kuvo.desktop"

// Makes the settings and temporary folders for the owner alone (0700) and strips every
// permission of others from what is in them already: home folders are often readable by all,
// and the token, the enciphered passwords and the captures are not for other users.
void prepareFolders();
// path (a file or folder the program made) for the owner alone.
void makePrivate(const QString &path);
// Makes the folder (with its parents) for the owner alone; false when it is not there after.
bool makePrivateFolder(const QString &folder);

} // namespace Paths

#endif // PATHS_H
