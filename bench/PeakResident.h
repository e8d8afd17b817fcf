#pragma once

// The process's resident memory from /proc/self/status, and its peak started
// again from now, so that one case's peak is not an earlier one's.

#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

inline qint64 StatusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// The resident size now, which the peak starts from; the heap freed before is
// given back first, so that a case's growth is not hidden in it.
inline qint64 RestartPeak()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    return StatusKilobytes("VmRSS:");
}

// How far the peak rose above the resident size the peak started from.
inline double PeakRiseMegabytes(qint64 residentBefore)
{
    return double(StatusKilobytes("VmHWM:") - residentBefore) / 1024;
}
