// Renders every window of the program to a PNG, for looking at the pages without clicking
// through the program: kuvo_pageshots <folder>. scripts/screenshots builds and runs it.
// The windows talk to a stand-in service of their own, with its demo account signed in.

#include "audiofiles.h"
#include "audioimageplayer.h"
#include "autorizationwidget.h"
#include "core.h"
#include "coretestsupport.h"
#include "errorwidget.h"
#include "fontwindow.h"
#include "kailibrary.h"
#include "lastuploadwidget.h"
#include "licensewindow.h"
#include "maintoolwidget.h"
#include "messagedialog.h"
#include "proxywidget.h"
#include "setting.h"
#include "settingwidget.h"
#include "uploadwidget.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QColor kDesktop(0x5d, 0x72, 0x7f);

// The window over a plain desktop, with room around it. A grab of the screen has no alpha, so
// the window is cleared to the desktop's colour for it: its shadow then falls on the desktop
// as it would under a compositor.
QImage onDesktop(BasicWindow *window)
{
    window->setColor(kDesktop);
    window->update();
    QTest::qWait(100);
    QImage page = window->grabWindow();
    if (page.isNull())
        page = window->screen()->grabWindow(window->winId()).toImage();
    const int margin = 24;
    QImage shot(page.size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
    shot.fill(kDesktop);
    QPainter painter(&shot);
    painter.drawImage(margin, margin, page);
    return shot;
}

bool save(BasicWindow *window, const QString &folder, const QString &name,
    const std::function<void(BasicWindow *)> &prepare = {})
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window, 5000))
        return false;
    if (prepare)
        prepare(window);
    QTest::qWait(300);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool saved = onDesktop(window).save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    window->close();
    return saved;
}

// Rests the pointer on an item long enough for its tool tip.
void hover(BasicWindow *window, const QString &name)
{
    auto *item = window->rootObject()->findChild<QQuickItem *>(name);
    if (!item)
        return;
    QTest::mouseMove(window, item->mapToScene(QPointF(item->width() / 2, 20)).toPoint());
    QTest::qWait(900);
}

// Brings a tool of the settings window to the front.
void showSettingTool(BasicWindow *window, const QString &tool)
{
    QObject *state = window->rootObject()->findChild<QObject *>(QStringLiteral("prv_data"));
    if (state)
        QMetaObject::invokeMethod(state, "checkItem", Q_ARG(QVariant, tool));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kuvo"));
    QApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    if (!QDir().mkpath(folder))
        return 1;

    StandinService service;
    if (!service.start())
        return 1;
    pointAt(service);
    Core *core = Core::instance();
    core->setLastLink(
        QStringLiteral("https://") + service.httpsHost() + QStringLiteral("/s/0c9f4e2a7b"));

    bool ok = true;
    {
        MainToolWidget window;
        ok &= save(&window, folder, QStringLiteral("main-tool-signed-out"));
    }
    {
        AutorizationWidget window;
        ok &= save(&window, folder, QStringLiteral("sign-in"));
    }
    {
        AutorizationWidget window;
        ok &= save(&window, folder, QStringLiteral("sign-in-error"), [core](BasicWindow *) {
            core->account()->signIn(QStringLiteral("demo@kuvo.example"), QStringLiteral("no"));
            QTest::qWait(1500);
        });
    }
    if (!signInDemo(*core->account()))
        return 1;
    {
        MainToolWidget window;
        ok &= save(&window, folder, QStringLiteral("main-tool"));
    }
    {
        MainToolWidget window;
        ok &= save(&window, folder, QStringLiteral("main-tool-tooltip"),
            [](BasicWindow *shown) { hover(shown, QStringLiteral("copyButton")); });
    }
    {
        MessageDialog window;
        window.questions(QStringLiteral("Warning"),
            QStringLiteral("Internet is not available. Save file to disk ?"));
        ok &= save(&window, folder, QStringLiteral("message-question"));
    }
    {
        MessageDialog window;
        window.information(QStringLiteral("Error start socket"),
            QStringLiteral("No local port is free for the sign-in through the browser. Kuvo "
                           "closes in 10 seconds."));
        ok &= save(&window, folder, QStringLiteral("message-information"));
    }
    {
        ErrorWidget window(
            QStringLiteral("Uploading to FTP is not available yet. Choose the Kuvo service in "
                           "the settings to upload."));
        ok &= save(&window, folder, QStringLiteral("error"));
    }
    {
        QImage picture(480, 300, QImage::Format_RGB32);
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QColor(0x2b, 0x8f, 0xc4));
        painter.fillRect(40, 40, 400, 220, QColor(0xf6, 0xf7, 0xf9));
        painter.end();
        KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
        QTemporaryDir kia;
        AudioImageFile file(kia.filePath(QStringLiteral("comment.kia")));
        file.write(pngBytes(picture), wavTone(22050, 1, 0.5, 440));
        AudioImagePlayer window;
        window.openFile(file.fileName());
        ok &= save(&window, folder, QStringLiteral("audio-player"));
    }
    {
        LicenseWindow window;
        ok &= save(&window, folder, QStringLiteral("terms-of-use"));
    }
    {
        Setting::instance()->setValue(QStringLiteral("proxy_host"), QStringLiteral("proxy.lan"));
        Setting::instance()->setValue(QStringLiteral("proxy_port"), 3128);
        ProxyWidget window;
        ok &= save(&window, folder, QStringLiteral("proxy"));
    }
    {
        FontWindow window;
        ok &= save(&window, folder, QStringLiteral("font"));
    }
    {
        SettingWidget window;
        ok &= save(&window, folder, QStringLiteral("settings"));
    }
    // Every page of the settings window, each in a window of its own.
    Setting::instance()->setValue(QStringLiteral("ftp_host"), QStringLiteral("ftp.example.com"));
    Setting::instance()->setValue(QStringLiteral("ftp_user"), QStringLiteral("screens"), true);
    for (const char *target : {"ftp", "dropbox", "google"}) {
        SettingWidget window;
        ok &= save(&window, folder, QStringLiteral("settings-") + QLatin1String(target),
            [target](BasicWindow *shown) {
                shown->rootObject()
                    ->findChild<QQuickItem *>(QStringLiteral("authDelegate"))
                    // Google disk is only shown, never chosen.
                    ->setProperty(
                        qstrcmp(target, "google") == 0 ? "page" : "target", QLatin1String(target));
            });
    }
    for (const char *tool : {"setting", "hotkey"}) {
        SettingWidget window;
        ok &= save(&window, folder, QStringLiteral("settings-") + QLatin1String(tool),
            [tool](BasicWindow *shown) { showSettingTool(shown, QLatin1String(tool)); });
    }
    {
        SettingWidget window;
        ok &= save(
            &window, folder, QStringLiteral("settings-setting-tooltip"), [](BasicWindow *shown) {
                showSettingTool(shown, QStringLiteral("setting"));
                auto *high = shown->rootObject()->findChild<QQuickItem *>(QStringLiteral("rbHigh"));
                QTest::mouseMove(shown, high->mapToScene(QPointF(8, high->height() / 2)).toPoint());
                QTest::qWait(900);
            });
    }
    // The longer Russian texts on the fullest pages.
    Setting::instance()->setLanguage(QStringLiteral("ru"));
    for (const char *tool : {"auth", "setting", "hotkey"}) {
        SettingWidget window;
        ok &= save(&window, folder, QStringLiteral("settings-ru-") + QLatin1String(tool),
            [tool](BasicWindow *shown) { showSettingTool(shown, QLatin1String(tool)); });
    }
    Setting::instance()->setLanguage(QStringLiteral("en"));
    {
        SettingWidget window;
        ok &= save(
            &window, folder, QStringLiteral("settings-hotkey-asking"), [](BasicWindow *shown) {
                showSettingTool(shown, QStringLiteral("hotkey"));
                shown->requestActivate();
                // Offscreen windows may never count as active; the field asks for keys anyway.
                (void)QTest::qWaitForWindowActive(shown, 2000);
                shown->rootObject()
                    ->findChild<QQuickItem *>(QStringLiteral("fullScreenKey"))
                    ->setProperty("activeFocusInput", true);
            });
    }
    {
        QTemporaryFile file(QDir::tempPath() + QStringLiteral("/capture-XXXXXX.png"));
        file.open();
        file.write(QByteArray(3 << 20, 'k'));
        file.close();
        service.delay(QStringLiteral("/upload/"), 3);
        UploadWidget window;
        ok &= save(&window, folder, QStringLiteral("upload"), [&](BasicWindow *) {
            core->uploadData({file.fileName()});
            core->uploadDataZip({file.fileName(), file.fileName()});
            QTest::qWait(1000);
        });
        service.delay(QStringLiteral("/upload/"), 0);
    }
    {
        LastUploadWidget window;
        ok &= save(&window, folder, QStringLiteral("upload-complete"));
    }
    return ok ? 0 : 1;
}
