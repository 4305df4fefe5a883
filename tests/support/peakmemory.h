#pragma once

#include <QtGlobal>

#include <sys/resource.h>

// The peak resident memory of this process so far, in MB: a test takes it before and after
// what it tries, to see what that cost at its worst.
inline qint64 peakMegabytes()
{
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}
