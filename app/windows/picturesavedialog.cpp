#include "picturesavedialog.h"

#include "setting.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// "JPEG (*.jpg *.jpeg)" gives "jpg".
QString firstSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

PictureSaveDialog::PictureSaveDialog(
    const QString &proposed, const QString &filters, const QString &extension)
    : QFileDialog(nullptr, tr("Save file"), proposed, filters)
{
    // The dialog asks before it lets the user pick a file that exists.
    setAcceptMode(QFileDialog::AcceptSave);
    const QString wanted = QStringLiteral("*") + extension;
    for (const QString &filter : nameFilters()) {
        if (filter.contains(wanted, Qt::CaseInsensitive)) {
            selectNameFilter(filter);
            break;
        }
    }
    followFilter(selectedNameFilter());
    connect(this, &QFileDialog::filterSelected, this, &PictureSaveDialog::followFilter);
}

void PictureSaveDialog::followFilter(const QString &filter)
{
    setDefaultSuffix(firstSuffix(filter));
}

PictureFormat PictureSaveDialog::chosenFormat(const PictureFormat &base) const
{
    return base.forChoice(selectedFiles().value(0), selectedNameFilter());
}

QString PictureSaveDialog::startFolder()
{
    const QString last = Setting::instance()->getValue(SettingKeys::lastSavePath).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

void PictureSaveDialog::rememberFolder(const QString &fileName)
{
    Setting::instance()->setValue(SettingKeys::lastSavePath, QFileInfo(fileName).absolutePath());
}
