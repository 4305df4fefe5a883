#ifndef PICTURESAVEDIALOG_H
#define PICTURESAVEDIALOG_H

#include "pictureformat.h"

#include <QFileDialog>

// The dialog that asks where a picture goes. It opens on the filter of the given extension,
// and a name typed without an extension gets the one of the filter the user picked, so the
// name on the disk always says what its bytes are.
class PictureSaveDialog : public QFileDialog
{
    Q_OBJECT
public:
    PictureSaveDialog(const QString &proposed, const QString &filters, const QString &extension);

    // The chosen file's format, with the qualities of base.
    PictureFormat chosenFormat(const PictureFormat &base) const;

    // Where every save starts: the folder of the last save while it exists, else the user's
    // pictures, else home; never the working folder of the process, where a dialog falls back.
    static QString startFolder();
    // A picture saved as fileName: the next save starts in its folder.
    static void rememberFolder(const QString &fileName);

private:
    void followFilter(const QString &filter);
};

#endif // PICTURESAVEDIALOG_H
