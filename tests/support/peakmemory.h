#pragma once

#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

// AddressSanitizer keeps freed blocks in quarantine and pads every allocation, so resident
// figures measured in such a build say nothing about the program's own use of memory.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentFiguresHold = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kResidentFiguresHold = false;
#else
constexpr bool kResidentFiguresHold = true;
#endif
#else
constexpr bool kResidentFiguresHold = true;
#endif

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
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE) >> 20;
}
