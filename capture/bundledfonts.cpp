#include "bundledfonts.h"

#include <QDebug>
#include <QDir>
#include <QFontDatabase>

void BundledFonts::install()
{
    static const bool installed = [] {
        const QDir folder(QStringLiteral(":/font/font/"));
        for (const QString &file : folder.entryList(QDir::Files, QDir::Unsorted)) {
            if (QFontDatabase::addApplicationFont(folder.filePath(file)) == -1)
                qDebug() << Q_FUNC_INFO << "can`t add" << file;
        }
        return true;
    }();
    Q_UNUSED(installed)
}
