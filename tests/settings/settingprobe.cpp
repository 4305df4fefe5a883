// A small program that opens the settings store in whatever HOME it is given, runs the
// commands of its command line one after another and prints what it read, then ends through
// the event loop as the real program does. The restart tests drive it as a child process.
//
//   get KEY | getenc KEY | set KEY TEXT | setint KEY N | fill N | check N | connect | cid
//   row KEY: prints the key's row as it is in the file ("row:KEY=...")
//   service HOST: the account signs in at the stand-in service at HOST, trusting its CA
//   signin EMAIL PASSWORD: prints "signin=true" once signed in
//   refused: the service refused the token and the user agreed to sign in again
//   trouble: prints what was wrong with the file at start ("trouble=N detail")
//   bigfill N: writes N rows of 4 KB and waits until they are in the file
//   Whenever the store reports that writes failed, "writesFailed=REASON" is printed.
//   stream MS: writes "stream_counter" = 1, 2, ... every MS milliseconds (0: as fast as it
//   can) until killed, printing "acked N T" once setValue(N) has returned, T ms after the
//   first (with MS 0 only every 500 writes).

#include "autorization.h"
#include "serviceaddress.h"
#include "setting.h"
#include "standinservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

namespace {

QString describe(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("null");
    return QString::fromLatin1(value.typeName()) + QLatin1Char(':') + value.toString();
}

QString fillKey(int i)
{
    return QStringLiteral("probe_key_%1").arg(i);
}

QString fillValue(int i)
{
    return QStringLiteral("value %1").arg(i);
}

void stream(Setting *settings, QTextStream &out, int interval)
{
    static QElapsedTimer clock;
    static int written = 0;
    clock.start();
    auto acked = [&out] { out << "acked " << written << ' ' << clock.elapsed() << Qt::endl; };
    if (interval == 0) {
        for (;;) {
            settings->setValue(QStringLiteral("stream_counter"), ++written);
            if (written % 500 == 0)
                acked();
        }
    }
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, [settings, acked] {
        settings->setValue(QStringLiteral("stream_counter"), ++written);
        acked();
    });
    timer->start(interval);
}

bool signIn(Autorization &account, const QString &email, const QString &password)
{
    QEventLoop loop;
    QObject::connect(&account, &Autorization::authChanged, &loop, &QEventLoop::quit);
    QObject::connect(&account, &Autorization::authError, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    account.signIn(email, password);
    loop.exec();
    return account.auth();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    Setting *settings = Setting::instance();
    Autorization account;

    QObject::connect(settings, &Setting::writesFailed,
        [&out](const QString &reason) { out << "writesFailed=" << reason << Qt::endl; });

    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty()) {
        const QString command = args.takeFirst();
        if (command == QLatin1String("get")) {
            const QString key = args.takeFirst();
            out << key << '=' << describe(settings->getValue(key)) << '\n';
        } else if (command == QLatin1String("getenc")) {
            const QString key = args.takeFirst();
            out << key << '=' << describe(settings->getValue(key, true)) << '\n';
        } else if (command == QLatin1String("row")) {
            const QString key = args.takeFirst();
            out << "row:" << key << '=' << describe(settings->getValueDB(key)) << '\n';
        } else if (command == QLatin1String("service")) {
            ServiceAddress::setApiHost(args.first());
            ServiceAddress::setWebHost(args.takeFirst());
            StandinService::trustStandinCa();
        } else if (command == QLatin1String("signin")) {
            const QString email = args.takeFirst();
            out << "signin=" << (signIn(account, email, args.takeFirst()) ? "true" : "false")
                << '\n';
        } else if (command == QLatin1String("refused")) {
            account.dropRefusedToken();
        } else if (command == QLatin1String("set")) {
            const QString key = args.takeFirst();
            settings->setValue(key, args.takeFirst());
        } else if (command == QLatin1String("setint")) {
            const QString key = args.takeFirst();
            settings->setValue(key, args.takeFirst().toInt());
        } else if (command == QLatin1String("fill")) {
            const int count = args.takeFirst().toInt();
            for (int i = 0; i < count; ++i)
                settings->setValue(fillKey(i), fillValue(i));
        } else if (command == QLatin1String("check")) {
            const int count = args.takeFirst().toInt();
            int found = 0;
            for (int i = 0; i < count; ++i)
                found += settings->getValue(fillKey(i)) == fillValue(i);
            out << "found=" << found << '\n';
        } else if (command == QLatin1String("connect")) {
            out << "connect=" << (settings->connectDatabase() ? "true" : "false") << '\n';
        } else if (command == QLatin1String("stream")) {
            stream(settings, out, args.takeFirst().toInt());
            return app.exec();
        } else if (command == QLatin1String("trouble")) {
            out << "trouble=" << settings->storageTrouble() << ' ' << settings->storageDetail()
                << '\n';
        } else if (command == QLatin1String("bigfill")) {
            const int count = args.takeFirst().toInt();
            for (int i = 0; i < count; ++i)
                settings->setValue(fillKey(i), QString(4096, QLatin1Char('a' + i % 26)));
            // A read goes behind every queued write; its wait lets their outcome arrive.
            settings->getValueDB(fillKey(0));
        } else if (command == QLatin1String("reset")) {
            settings->resetDefault();
        } else if (command == QLatin1String("cid")) {
            out << "cid=" << settings->getUserId() << '\n';
        } else {
            out << "unknown command " << command << '\n';
            return 2;
        }
    }
    out.flush();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
