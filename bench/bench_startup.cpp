// Start-up of the real program with an account signed in and no window shown: the time from
// starting the process until it listens for later copies (the last step before its event
// loop), and its resident memory once idle. The service hosts point at a closed loopback port.

#include "benchsupport.h"
#include "setting.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

const int kRuns = 5;

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir root;
    const QString home = root.path() + QStringLiteral("/home");
    const QString runtime = root.path() + QStringLiteral("/runtime");
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", home.toUtf8());
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);

    // Sign an account in: the program then also starts its user-info timers.
    Setting::instance()->setValue(SettingKeys::token, QStringLiteral("bench-token"));
    Setting::instance()->getValueDB(SettingKeys::token);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false"));
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/kuvo");

    QList<double> startups;
    double resident = -1;
    for (int i = 0; i < kRuns; ++i) {
        QProcess kuvo;
        kuvo.setProcessEnvironment(env);
        kuvo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        kuvo.start(program, {"-beta", "127.0.0.1:9", "127.0.0.1:9"});
        QLocalSocket probe;
        while (timer.elapsed() < 10000) {
            probe.connectToServer(runtime + QStringLiteral("/KuvoApp"));
            if (probe.waitForConnected(0))
                break;
            QThread::usleep(500);
        }
        startups << timer.nsecsElapsed() / 1e6;
        probe.disconnectFromServer();
        if (i == kRuns - 1) {
            QThread::sleep(2);
            resident = statusMegabytes("VmRSS", QString::number(kuvo.processId()));
        }
        kuvo.kill();
        kuvo.waitForFinished(5000);
    }
    std::sort(startups.begin(), startups.end());
    std::printf("start-up to the event loop (signed in, no window), median of %d: %.1f ms\n", kRuns,
        startups[kRuns / 2]);
    std::printf("start-up to the event loop, best: %.1f ms\n", startups.first());
    std::printf("resident memory when idle: %.1f MB\n", resident);
    return 0;
}
