// Kept apart from the entry points: <unistd.h> declares write(2), which the library's own
// "write" would clash with.

#include "kaifile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

KaiFile::KaiFile(const char *fileName)
{
    const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(status.st_size);
}

KaiFile::~KaiFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool KaiFile::read(std::uint64_t offset, char *data, std::size_t length) const
{
    while (length > 0) {
        const ssize_t got = ::pread(m_fd, data, length, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        offset += static_cast<std::uint64_t>(got);
        length -= static_cast<std::size_t>(got);
    }
    return true;
}
