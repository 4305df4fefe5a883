#pragma once

#include <QtGlobal>

#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

// The peak resident memory of this process so far, in MB: a test takes it before and after
// what it tries, to see what that cost at its worst.
inline qint64 peakMegabytes()
{
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The resident memory of this process now, in MB.
inline qint64 residentMegabytes()
{
    long pages = 0;
    std::FILE *statm = std::fopen("/proc/self/statm", "r");
    if (statm && std::fscanf(statm, "%*s %ld", &pages) != 1)
        pages = 0;
    if (statm)
        std::fclose(statm);
    return qint64(pages) * ::sysconf(_SC_PAGESIZE) / (1 << 20);
}
