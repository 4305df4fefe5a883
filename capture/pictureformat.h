#ifndef PICTUREFORMAT_H
#define PICTUREFORMAT_H

#include <QImage>
#include <QString>
#include <QVariant>

// How a finished capture is written: the format, its quality and the file extension, chosen
// by the setting "qualityImage" (0: JPEG 90, 1: JPEG 100, anything else: PNG).
class PictureFormat
{
public:
    // Reads the value as a number truncated to an integer. A value that is no number at all
    // gives PNG: a broken setting must not cost the user picture quality.
    static PictureFormat fromSetting(const QVariant &qualityImage);
    // The format of the current "qualityImage".
    static PictureFormat current();

    QByteArray format() const { return m_format; }
    int quality() const { return m_quality; }
    QString extension() const { return m_extension; }
    // The formats a save dialog offers, this one first.
    QString saveFilter() const;
    // The format that a name typed in a save dialog asks for by an extension of the offered
    // formats; this one for any other name.
    PictureFormat forFileName(const QString &name) const;
    // As forFileName; a name without such an extension takes the first one of the filter the
    // user chose in the dialog ("PNG (*.png)").
    PictureFormat forChoice(const QString &name, const QString &filter) const;
    // name with the extension appended unless it ends in it already.
    QString withExtension(const QString &name) const;

    // Encodes the picture and replaces fileName with it in one step, so that a failed write
    // never leaves a half-written or empty file behind. On failure *problem says why.
    bool write(const QImage &picture, const QString &fileName, QString *problem) const;

private:
    PictureFormat(const QByteArray &format, int quality, const QString &extension);

    QByteArray m_format;
    int m_quality;
    QString m_extension;
};

#endif // PICTUREFORMAT_H
