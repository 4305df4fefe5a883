#ifndef MEMORYPAGES_H
#define MEMORYPAGES_H

#include <cstddef>

// A fresh 4K picture is 8,100 pages that the kernel would otherwise map one fault at a time,
// on the first write to each: at that size the faults cost more than the drawing itself.
class MemoryPages
{
public:
    // Maps every page of memory for writing now, in bands side by side; the contents stay as
    // they are. Older kernels refuse it, and the pages then come one by one as before.
    static void populate(void *memory, size_t bytes);
};

#endif // MEMORYPAGES_H
