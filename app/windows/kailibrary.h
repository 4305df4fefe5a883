#ifndef KAILIBRARY_H
#define KAILIBRARY_H

#include "kai.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibrary>
#include <QString>

// The image+audio library, loaded from the program's own folder by its absolute path. It is
// loaded local and its entry points are taken from its own handle only: its "write" must never
// be confused with write(2) of the C library, which every process has loaded already.
class KaiLibrary
{
    Q_DECLARE_TR_FUNCTIONS(KaiLibrary)

public:
    // The program's folder followed by "/libkai.so"; tests may name another file, an empty
    // name restores the default.
    static QString path();
    static void setPath(const QString &path);

    KaiLibrary();

    bool isLoaded() const { return m_write && m_readImage && m_readAudio; }
    // Why the library or the last operation failed, for the user.
    QString errorString() const { return m_error; }

    // A ".kia" file holds one picture and one spoken comment: anything larger is refused
    // before it is read.
    static constexpr qint64 kMaxFileSize = qint64(256) << 20;

    bool write(const QString &fileName, const QByteArray &picture, const QByteArray &sound);
    // Both parts of a ".kia" file; false (and both empty) when it cannot be read, with
    // errorString() saying why: not there, not readable, not a file, too large or damaged.
    bool read(const QString &fileName, QByteArray *picture, QByteArray *sound);

private:
    void *resolve(const char *name);
    QByteArray readPart(KaiReadFunction function, const QByteArray &fileName, bool *ok);

    QLibrary m_library;
    KaiWriteFunction m_write = nullptr;
    KaiReadFunction m_readImage = nullptr;
    KaiReadFunction m_readAudio = nullptr;
    QString m_error;
};

#endif // KAILIBRARY_H
