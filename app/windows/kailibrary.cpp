#include "kailibrary.h"
#include "userfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {

QString &pathOverride()
{
    static QString path;
    return path;
}

// The file of the loaded object that holds this address.
QString objectFileOf(void *address)
{
    Dl_info info;
    if (!dladdr(address, &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath();
}

} // namespace

QString KaiLibrary::path()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/libkai.so");
}

void KaiLibrary::setPath(const QString &path)
{
    pathOverride() = path;
}

KaiLibrary::KaiLibrary()
    : m_library(path())
{
    // QLibrary loads local unless told otherwise: the names stay out of the global scope.
    if (!QFileInfo::exists(m_library.fileName()) || !m_library.load()) {
        qDebug() << Q_FUNC_INFO << m_library.fileName() << m_library.errorString();
        m_error = tr("The image+audio library %1 is missing or damaged: files with sound cannot "
                     "be read or written.")
                      .arg(m_library.fileName());
        return;
    }
    m_write = reinterpret_cast<KaiWriteFunction>(resolve("write"));
    m_readImage = reinterpret_cast<KaiReadFunction>(resolve("readImageData"));
    m_readAudio = reinterpret_cast<KaiReadFunction>(resolve("readAudioData"));
    if (!isLoaded())
        m_error = tr("The image+audio library %1 lacks its entry points: files with sound cannot "
                     "be read or written.")
                      .arg(m_library.fileName());
}

// A name the library lacks would be found in the libraries it depends on (dlsym searches them
// too): "write" would then be write(2). Only a function of the library's own file is taken.
void *KaiLibrary::resolve(const char *name)
{
    void *function = reinterpret_cast<void *>(m_library.resolve(name));
    if (!function)
        return nullptr;
    const QString library = QFileInfo(m_library.fileName()).canonicalFilePath();
    if (objectFileOf(function) != library) {
        qWarning() << Q_FUNC_INFO << name << "is not defined by" << library;
        return nullptr;
    }
    return function;
}

bool KaiLibrary::write(const QString &fileName, const QByteArray &picture, const QByteArray &sound)
{
    if (!isLoaded())
        return false;
    const QByteArray name = QFile::encodeName(fileName);
    if (m_write(
            name.constData(), picture.constData(), picture.size(), sound.constData(), sound.size())
        == 0)
        return true;
    m_error = tr("The file %1 could not be written.").arg(fileName);
    return false;
}

bool KaiLibrary::read(const QString &fileName, QByteArray *picture, QByteArray *sound)
{
    picture->clear();
    sound->clear();
    if (!isLoaded())
        return false;
    QFile file;
    if (!UserFile::open(file, fileName, &m_error, kMaxFileSize))
        return false;
    // The library opens the very file judged here, even if the name is swapped meanwhile.
    const QByteArray name
        = QFile::encodeName(QStringLiteral("/proc/self/fd/%1").arg(file.handle()));
    bool ok = false;
    *picture = readPart(m_readImage, name, &ok);
    if (ok)
        *sound = readPart(m_readAudio, name, &ok);
    qDebug() << "image size = " << picture->size();
    qDebug() << "audio size = " << sound->size();
    if (ok)
        return true;
    picture->clear();
    sound->clear();
    m_error = tr("The file %1 is not a picture with sound, or it is damaged.").arg(fileName);
    return false;
}

// The library keeps the bytes it hands out until it is told to let them go: they are copied
// and released at once, so that a large file is held once, by the caller.
QByteArray KaiLibrary::readPart(KaiReadFunction function, const QByteArray &fileName, bool *ok)
{
    int size = 0;
    const char *data = function(fileName.constData(), &size);
    *ok = data != nullptr && size >= 0;
    const QByteArray bytes = *ok && size > 0 ? QByteArray(data, size) : QByteArray();
    function(nullptr, &size);
    return bytes;
}
