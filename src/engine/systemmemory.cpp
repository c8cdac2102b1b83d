#include "engine/systemmemory.h"

#include <QByteArray>
#include <QFile>

#include <limits>
#include <sys/resource.h>

namespace rainquill {

namespace {

constexpr qint64 NoBound = std::numeric_limits<qint64>::max();

// A small file of the kernel's, read whole; empty when it cannot be read.
QByteArray kernelFile(const QByteArray &path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096);
}

// The value after `key` in a "key: value kB" file such as /proc/meminfo or
// /proc/self/status, in bytes.
qint64 kilobytesField(const QByteArray &text, const QByteArray &key)
{
    for (const QByteArray &line : text.split('\n')) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const qint64 kb = line.mid(key.size()).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kb * 1024 : NoBound;
    }
    return NoBound;
}

qint64 addressSpaceLeft()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return NoBound;
    const qint64 used = kilobytesField(kernelFile("/proc/self/status"), "VmSize:");
    return used == NoBound ? NoBound : qint64(limit.rlim_cur) - used;
}

qint64 controlGroupLeft()
{
    // The program's own group, as cgroup v2 names it: "0::/path".
    const QByteArray self = kernelFile("/proc/self/cgroup");
    if (!self.startsWith("0::"))
        return NoBound;
    const QByteArray dir = "/sys/fs/cgroup" + self.mid(3).trimmed();
    bool maxOk = false, currentOk = false;
    const qint64 max = kernelFile(dir + "/memory.max").trimmed().toLongLong(&maxOk);
    const qint64 current = kernelFile(dir + "/memory.current").trimmed().toLongLong(&currentOk);
    return maxOk && currentOk ? max - current : NoBound; // "max" reads as no bound
}

} // namespace

bool MemoryAvailable(qint64 bytes)
{
    const qint64 available = kilobytesField(kernelFile("/proc/meminfo"), "MemAvailable:");
    return bytes <= addressSpaceLeft() && bytes <= controlGroupLeft() && bytes <= available;
}

} // namespace rainquill
