#include "setting.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QLocale>

namespace {

void registerBundledFonts()
{
    const QDir folder(QStringLiteral(":/font/font/"));
    for (const QString &file : folder.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
}

} // namespace

int main(int argc, char *argv[])
{
    QLocale::setDefault(QLocale::system());
    QApplication app(argc, argv);
    registerBundledFonts();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationVersion(QStringLiteral("3.0.15"));
    QApplication::setApplicationName(QStringLiteral("Kuvo"));

    Setting::instance();
    return QApplication::exec();
}
