#include "memorypages.h"

#include <QVector>
#include <QtConcurrentMap>

#include <sys/mman.h>
#include <unistd.h>

void MemoryPages::populate(void *memory, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    constexpr int kBands = 4;
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    // madvise takes whole pages: the first band starts at the page that holds the start.
    auto *start = reinterpret_cast<char *>(reinterpret_cast<quintptr>(memory) / page * page);
    const size_t length = static_cast<char *>(memory) + bytes - start;
    QVector<int> bands;
    for (int band = 0; band < kBands; ++band)
        bands << band;
    QtConcurrent::blockingMap(bands, [=](int band) {
        const size_t first = length * size_t(band) / kBands / page * page;
        const size_t last
            = band + 1 == kBands ? length : length * size_t(band + 1) / kBands / page * page;
        madvise(start + first, last - first, MADV_POPULATE_WRITE);
    });
#else
    Q_UNUSED(memory)
    Q_UNUSED(bytes)
#endif
}
