#ifndef KAIFILE_H
#define KAIFILE_H

#include <cstddef>
#include <cstdint>

// A file the library reads. It is opened without waiting and kept only when it is a regular
// file: a FIFO under the name would block the caller until someone writes to it, and a device
// or a folder has no size to check the lengths of a ".kia" file against.
class KaiFile
{
public:
    explicit KaiFile(const char *fileName);
    ~KaiFile();
    KaiFile(const KaiFile &) = delete;
    KaiFile &operator=(const KaiFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::uint64_t size() const { return m_size; }
    // Exactly length bytes from offset into data; false on any shortfall.
    bool read(std::uint64_t offset, char *data, std::size_t length) const;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};

#endif // KAIFILE_H
