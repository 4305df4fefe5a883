#ifndef PENDINGUPDATE_H
#define PENDINGUPDATE_H

#include <QString>

// The update the updater verified and left in "~/.kuvo/update/" for the next start: its
// unpacked content, and beside it the signed package with its signature. Before anything of it
// runs the package is verified again and the program is taken from the package itself, since
// the folder may hold what an older version stored unverified or what was put there by hand.
namespace PendingUpdate {

QString folder(); // home + "/.kuvo/update/"
QString packageFile();
QString signatureFile();
QString programName(); // "Kuvo.exe"

// An update waits when its program is in the folder.
bool isWaiting();
// Verifies the kept package and writes its program into "~/.kuvo/launch/", both for the owner
// alone: the program's path, or an empty text with the reason in problem. An update that does
// not verify is removed; one that could not be written stays for a later start.
QString prepareLaunch(QString *problem);

} // namespace PendingUpdate

#endif // PENDINGUPDATE_H
