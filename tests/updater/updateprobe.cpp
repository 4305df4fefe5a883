// Runs one update as the program would: the updater checks the service given on the command
// line and the probe ends when the event loop quits (the updater handed over) or after a
// bounded time, printing "still running". Started with -updcomp it stands in for the program
// the updater script starts afterwards: it leaves its arguments in "$HOME/updcomp.marker",
// followed by whether the first probe had ended by then.
//
//   updateprobe <service host> <running version> <seconds> <reply deadline ms>
//   updateprobe -updcomp

#include "networkaccessmanager.h"
#include "serviceaddress.h"
#include "updater.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>
#include <QTimer>

namespace {

QString endedFile()
{
    return QDir::homePath() + QStringLiteral("/probe.ended");
}

int markHandOver(const QStringList &arguments)
{
    QFile marker(QDir::homePath() + QStringLiteral("/updcomp.marker"));
    if (!marker.open(QIODevice::WriteOnly))
        return 1;
    const bool ended = QFileInfo::exists(endedFile());
    marker.write(arguments.join(QLatin1Char(' ')).toUtf8() + (ended ? " after-end" : " too-early"));
    return 0;
}

// Lingers a while after the event loop, as a real program closing down does, so a script that
// did not wait for this process would start the next one before the file below exists.
int endAfterHandOver(int code)
{
    QThread::msleep(500);
    QFile ended(endedFile());
    ended.open(QIODevice::WriteOnly);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QStringLiteral("-updcomp")))
        return markHandOver(arguments);
    if (arguments.size() != 4) {
        QTextStream(stderr) << "usage: updateprobe <service host> <version> <seconds> <ms>\n";
        return 2;
    }
    NetworkAccessManager::setDeadline(arguments.at(3).toInt());

    QCoreApplication::setApplicationName(QStringLiteral("Kuvo"));
    QCoreApplication::setApplicationVersion(arguments.at(1));
    ServiceAddress::setApiHost(arguments.at(0));
    ServiceAddress::setWebHost(arguments.at(0));

    Updater updater;
    QTimer::singleShot(0, &updater, &Updater::startUpdate);
    QTimer::singleShot(arguments.at(2).toInt() * 1000, &app, [] {
        QTextStream(stdout) << "still running\n";
        QCoreApplication::exit(3);
    });
    const int code = app.exec();
    return code == 0 ? endAfterHandOver(code) : code;
}
