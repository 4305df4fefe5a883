#include "pictureformat.h"

#include "checkedsavefile.h"
#include "setting.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>

namespace {

// The zlib level 1..9 that QImageWriter derives from a quality: (100 - quality) * 9 / 91.
// Level 6 of the default costs most of the saving time on a busy 4K screen for a few per cent
// of size; level 2 keeps the file well within a third larger.
constexpr int kPngQuality = 70;

} // namespace

PictureFormat::PictureFormat(const QByteArray &format, int quality, const QString &extension)
    : m_format(format)
    , m_quality(quality)
    , m_extension(extension)
{
}

PictureFormat PictureFormat::fromSetting(const QVariant &qualityImage)
{
    bool isNumber = false;
    const double value = qualityImage.toString().trimmed().toDouble(&isNumber);
    const int q = isNumber ? int(value) : -1;
    if (q == 0)
        return PictureFormat("JPG", 90, QStringLiteral(".jpg"));
    if (q == 1)
        return PictureFormat("JPG", 100, QStringLiteral(".jpg"));
    return PictureFormat("PNG", kPngQuality, QStringLiteral(".png"));
}

PictureFormat PictureFormat::current()
{
    return fromSetting(Setting::instance()->getValue(SettingKeys::qualityImage));
}

QString PictureFormat::saveFilter() const
{
    const QString png = QStringLiteral("PNG (*.png)");
    const QString jpeg = QStringLiteral("JPEG (*.jpg *.jpeg)");
    return m_format == "PNG" ? png + QStringLiteral(";;") + jpeg
                             : jpeg + QStringLiteral(";;") + png;
}

// A JPEG asked for while the setting says PNG gets the best quality, as PNG would have kept.
PictureFormat PictureFormat::forFileName(const QString &name) const
{
    const QString suffix = QFileInfo(name).suffix();
    if (suffix.compare(QLatin1String("png"), Qt::CaseInsensitive) == 0)
        return m_format == "PNG" ? *this : fromSetting(2);
    if (suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0)
        return PictureFormat("JPG", m_format == "JPG" ? m_quality : 100, QLatin1Char('.') + suffix);
    return *this;
}

PictureFormat PictureFormat::forChoice(const QString &name, const QString &filter) const
{
    static const QRegularExpression ours(
        QStringLiteral("\\.(png|jpe?g)$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.\\w+)"));
    if (ours.match(name).hasMatch())
        return forFileName(name);
    const QRegularExpressionMatch chosen = pattern.match(filter);
    return chosen.hasMatch() ? forFileName(QLatin1Char('x') + chosen.captured(1)) : *this;
}

QString PictureFormat::withExtension(const QString &name) const
{
    if (name.endsWith(m_extension, Qt::CaseInsensitive))
        return name;
    return name + m_extension;
}

bool PictureFormat::write(const QImage &picture, const QString &fileName, QString *problem) const
{
    if (picture.isNull()) {
        *problem = QCoreApplication::translate("PictureFormat", "There is no picture to save.");
        return false;
    }
    // Encoded in memory first, so that the bytes on the disk can be counted against it.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, m_format);
    writer.setQuality(m_quality);
    if (!writer.write(picture)) {
        *problem = writer.errorString();
        return false;
    }
    return CheckedSaveFile::writeWhole(fileName, bytes, problem);
}
