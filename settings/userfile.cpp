#include "userfile.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor unless it was handed on.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

qint64 megabytes(qint64 bytes)
{
    return (bytes + (1 << 20) - 1) >> 20;
}

} // namespace

bool UserFile::open(QFile &file, const QString &path, QString *problem, qint64 maxSize)
{
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        *problem = openProblem(path, errno);
        return false;
    }
    struct stat status = {};
    if (::fstat(fd.get(), &status) != 0) {
        *problem = openProblem(path, errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        *problem = S_ISDIR(status.st_mode) ? tr("%1 is a folder, not a file.").arg(path)
                                           : notAFile(path);
        return false;
    }
    if (maxSize >= 0 && status.st_size > maxSize) {
        *problem = tr("The file %1 is too large: %2 MB, at most %3 MB can be opened.")
                       .arg(path)
                       .arg(megabytes(status.st_size))
                       .arg(megabytes(maxSize));
        return false;
    }
    // Reads of a regular file never wait anyway; whoever reads on expects a blocking descriptor.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    if (!file.open(
            fd.get(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        *problem = tr("The file %1 cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    fd.release();
    return true;
}

QString UserFile::openProblem(const QString &path, int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tr("The file %1 does not exist.").arg(path);
    case EACCES:
    case EPERM:
        return tr("You may not read the file %1: permission denied.").arg(path);
    case ELOOP:
        return tr("%1 is a loop of symbolic links, not a file.").arg(path);
    case ENXIO:
        return notAFile(path);
    default:
        return tr("The file %1 cannot be read: %2.")
            .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString UserFile::notAFile(const QString &path)
{
    return tr("%1 is not a file: a pipe, a socket or a device cannot be read.").arg(path);
}
